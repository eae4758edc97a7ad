#pragma once
// TGraphic: the abstract picture every picture class (bitmap, JPEG, GIF, icon, metafile) derives
// from. It carries the flags and events common to all pictures; the virtual operations are what
// the picture holder, the picture control and the canvas call without knowing the class.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "graphics/dib.h"
#include "graphics/geometry.h"

namespace kv {

class TCanvas;
class TStream;
class TGraphic;

enum class TProgressStage { psStarting, psRunning, psEnding };

using TGraphicNotifyEvent = std::function<void(TGraphic& sender)>;
// Progress of a long operation (decoding): stage, percent done, whether the caller should redraw
// now, the rectangle that changed and a message.
using TProgressEvent = std::function<void(TGraphic& sender, TProgressStage stage, uint8_t percentDone,
                                          bool redrawNow, const TRect& rect, const std::string& message)>;

class TGraphic {
public:
    TGraphic() = default;
    virtual ~TGraphic() = default;
    TGraphic(const TGraphic&) = delete;
    TGraphic& operator=(const TGraphic&) = delete;

    // The class name failure texts and the picture registry use ("TBitmap").
    virtual const char* ClassName() const { return "TGraphic"; }

    // Draws the picture into rect of the canvas (scaled to the rectangle).
    virtual void Draw(TCanvas& canvas, const TRect& rect) = 0;
    // Does now the work a first drawing would leave for later and raises what it would raise, so
    // a holder can refuse a picture before it takes the place of the one on screen.
    virtual void PrepareToDraw() const {}
    // Same class and same content. The default treats two empty pictures of one class as equal
    // and anything else as different unless it is the same object.
    virtual bool Equals(const TGraphic* other) const;

    virtual bool Empty() const = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual void SetWidth(int value) = 0;
    virtual void SetHeight(int value) = 0;

    // The picture's logical palette; empty when it has none.
    virtual std::vector<RgbQuad> Palette() const { return {}; }
    virtual void SetPalette(const std::vector<RgbQuad>& /*palette*/) {}

    virtual bool Transparent() const { return transparent_; }
    virtual void SetTransparent(bool value);

    // Reads the picture from the stream's position (the whole rest for file-like formats).
    virtual void LoadFromStream(TStream& stream) = 0;
    // Writes the picture in its file format. Pictures that cannot be written raise
    // EInvalidGraphicOperation "Cannot save a <class>".
    virtual void SaveToStream(TStream& stream) const;
    // Opens the file for reading (writers denied), loads from it and closes it, also on failure.
    virtual void LoadFromFile(const std::string& path);
    // Reads the picture's data as stored in a window layout; by default the rest of the stream.
    virtual void ReadData(TStream& stream) { LoadFromStream(stream); }

    // Takes over another picture. From nothing: EConvertError "Cannot assign a nil to a <class>";
    // otherwise the source is asked to assign itself here (AssignTo).
    virtual void Assign(const TGraphic* source);

    bool Modified() const { return modified_; }
    // Setting the flag counts as a change (the change event fires); clearing it does not.
    void SetModified(bool value);
    bool PaletteModified() const { return paletteModified_; }
    void SetPaletteModified(bool value) { paletteModified_ = value; }

    TGraphicNotifyEvent OnChange;
    TProgressEvent OnProgress;

protected:
    // Marks the picture modified and fires OnChange.
    virtual void Changed();
    // Writes this picture into dest. The default refuses: EConvertError "Cannot assign a <this
    // class> to a <dest class>". Pictures that decode lazily keep their cache mutable.
    virtual void AssignTo(TGraphic& dest) const;
    void Progress(TProgressStage stage, uint8_t percentDone, bool redrawNow, const TRect& rect,
                  const std::string& message);

    // For subclasses that take over flags without firing events.
    void SetTransparentFlag(bool value) { transparent_ = value; }

private:
    bool modified_ = false;
    bool transparent_ = false;
    bool paletteModified_ = false;
};

}  // namespace kv
