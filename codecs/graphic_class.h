#pragma once
// TGraphicClass: a picture class as the format registry and the picture holder know it — its
// name, a way to make an empty picture of it, and a test for "is this picture of the class or a
// descendant". One descriptor per class, obtained through GraphicClassOf<T>().
#include <memory>
#include <string>

#include "graphics/graphic.h"

namespace kv {

class TGraphicClass {
public:
    using Factory = std::unique_ptr<TGraphic> (*)();
    using Test = bool (*)(const TGraphic&);

    TGraphicClass(std::string name, Factory factory, Test isInstance)
        : name_(std::move(name)), factory_(factory), isInstance_(isInstance) {}
    TGraphicClass(const TGraphicClass&) = delete;
    TGraphicClass& operator=(const TGraphicClass&) = delete;

    const std::string& Name() const { return name_; }
    std::unique_ptr<TGraphic> Create() const { return factory_(); }
    // True when the picture is of this class or of a class derived from it.
    bool IsInstance(const TGraphic& picture) const { return isInstance_(picture); }
    // True when this class is `ancestor` or derives from it.
    bool InheritsFrom(const TGraphicClass& ancestor) const {
        return &ancestor == this || ancestor.IsInstance(*Create());
    }

private:
    std::string name_;
    Factory factory_;
    Test isInstance_;
};

// The descriptor of picture class T (default-constructible, derived from TGraphic). Made on first
// request; its name is T's ClassName().
template <class T>
const TGraphicClass& GraphicClassOf() {
    static const TGraphicClass descriptor(
        T().ClassName(), []() -> std::unique_ptr<TGraphic> { return std::make_unique<T>(); },
        [](const TGraphic& picture) { return dynamic_cast<const T*>(&picture) != nullptr; });
    return descriptor;
}

}  // namespace kv
