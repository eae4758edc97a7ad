#pragma once
// An empty picture of any class name, for tests of conversions between picture classes: it
// draws nothing, reads nothing and takes over nothing but what TGraphic itself allows.
#include "graphics/graphic.h"

namespace kv::test {

class EmptyGraphic : public TGraphic {
public:
    explicit EmptyGraphic(const char* className) : className_(className) {}
    const char* ClassName() const override { return className_; }
    void Draw(TCanvas&, const TRect&) override {}
    bool Empty() const override { return true; }
    int Width() const override { return 0; }
    int Height() const override { return 0; }
    void SetWidth(int) override {}
    void SetHeight(int) override {}
    void LoadFromStream(TStream&) override {}

private:
    const char* className_;
};

}  // namespace kv::test
