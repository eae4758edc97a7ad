#pragma once
// Type-ahead of the browser's lists. Characters typed less than 500 ms apart form one prefix; a
// longer pause starts a new one, and Backspace drops the last character. The row to select is
// the first one, from the current row on and round the end, whose text begins with the prefix
// (ASCII letters ignoring case, as file names compare); an emptied prefix selects the first row.
// The clock is injectable so that the pauses can be tested without waiting.
#include <cstdint>
#include <functional>
#include <string>

namespace kv {

class TTypeAhead {
public:
    // Milliseconds from a monotonic clock; it may wrap like a tick count.
    using Clock = std::function<uint32_t()>;
    // The text of a row as the list shows it.
    using RowText = std::function<std::string(int row)>;

    static constexpr uint32_t kPauseMs = 500;

    // Without a clock the system's tick count is used.
    explicit TTypeAhead(Clock clock = {});

    // A typed character (its UTF-8 bytes). Returns the row to select, or -1 when no row matches.
    int Type(const std::string& character, int rowCount, const RowText& rowText, int current);
    // Backspace. Returns the row to select, or -1 when no row matches.
    int Backspace(int rowCount, const RowText& rowText, int current);

    const std::string& Prefix() const { return prefix_; }

private:
    // Forgets the prefix after a pause and notes the time of this key.
    void NoteKey();
    int Search(int rowCount, const RowText& rowText, int current) const;

    Clock clock_;
    std::string prefix_;
    uint32_t lastKey_ = 0;
    bool typed_ = false;
};

}  // namespace kv
