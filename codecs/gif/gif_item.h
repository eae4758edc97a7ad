#pragma once
// The building blocks of the in-memory GIF model: TGIFItem (every part of the model, knowing the
// picture it belongs to), TGIFList (an owned, ordered list of items) and TGIFBlock (one raw data
// sub-block). Warnings of every item and list go to the owning picture.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kv {

class TGIFImage;
class TStream;

// The reader reports every warning with this severity.
inline constexpr int kGifWarningSeverity = 1;

// Hands a warning to the picture's handler (dropped when there is no picture or no handler).
void ForwardGifWarning(TGIFImage* image, int severity, const std::string& message);

class TGIFItem {
public:
    explicit TGIFItem(TGIFImage* image) : image_(image) {}
    virtual ~TGIFItem() = default;
    TGIFItem(const TGIFItem&) = delete;
    TGIFItem& operator=(const TGIFItem&) = delete;

    TGIFImage* Image() const { return image_; }
    virtual void ReportWarning(int severity, const std::string& message) {
        ForwardGifWarning(image_, severity, message);
    }
    void Warning(const std::string& message) { ReportWarning(kGifWarningSeverity, message); }
    virtual void LoadFromStream(TStream& stream) = 0;
    // Opens the file, reads the item from it and closes it, also on failure.
    void LoadFromFile(const std::string& path);

private:
    TGIFImage* image_;
};

template <class T>
class TGIFList {
public:
    explicit TGIFList(TGIFImage* image) : image_(image) {}
    TGIFList(const TGIFList&) = delete;
    TGIFList& operator=(const TGIFList&) = delete;

    TGIFImage* Image() const { return image_; }
    int Count() const { return static_cast<int>(items_.size()); }
    T& operator[](int index) { return *items_[static_cast<size_t>(index)]; }
    const T& operator[](int index) const { return *items_[static_cast<size_t>(index)]; }
    T& Add(std::unique_ptr<T> item) {
        items_.push_back(std::move(item));
        return *items_.back();
    }
    void Clear() { items_.clear(); }
    void ReportWarning(int severity, const std::string& message) { ForwardGifWarning(image_, severity, message); }

    auto begin() { return items_.begin(); }
    auto end() { return items_.end(); }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

private:
    TGIFImage* image_;
    std::vector<std::unique_ptr<T>> items_;
};

// One data sub-block as it was read: its size is the byte count.
struct TGIFBlock {
    std::vector<uint8_t> Data;
    int Size() const { return static_cast<int>(Data.size()); }
};

}  // namespace kv
