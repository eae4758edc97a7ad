#include "browser/type_ahead.h"

#include "browser/path_routines.h"
#include "runtime/tick.h"

namespace kv {

TTypeAhead::TTypeAhead(Clock clock) : clock_(clock ? std::move(clock) : Clock([] { return GetTickCount(); })) {}

void TTypeAhead::NoteKey() {
    const uint32_t now = clock_();
    if (!typed_ || static_cast<uint32_t>(now - lastKey_) >= kPauseMs) prefix_.clear();
    lastKey_ = now;
    typed_ = true;
}

int TTypeAhead::Type(const std::string& character, int rowCount, const RowText& rowText, int current) {
    NoteKey();
    prefix_ += character;
    return Search(rowCount, rowText, current);
}

int TTypeAhead::Backspace(int rowCount, const RowText& rowText, int current) {
    NoteKey();
    // Drop one whole character: its UTF-8 continuation bytes go with it.
    while (!prefix_.empty() && (static_cast<unsigned char>(prefix_.back()) & 0xC0) == 0x80) prefix_.pop_back();
    if (!prefix_.empty()) prefix_.pop_back();
    return Search(rowCount, rowText, current);
}

int TTypeAhead::Search(int rowCount, const RowText& rowText, int current) const {
    if (rowCount <= 0) return -1;
    if (prefix_.empty()) return 0;
    const std::string wanted = LowerCaseName(prefix_);
    const int start = current >= 0 && current < rowCount ? current : 0;
    for (int step = 0; step < rowCount; ++step) {
        const int row = (start + step) % rowCount;
        if (LowerCaseName(rowText(row)).compare(0, wanted.size(), wanted) == 0) return row;
    }
    return -1;
}

}  // namespace kv
