#pragma once
// The failure classes the drawing, picture and browser layers raise. Each carries one message text;
// the window layer's default failure report shows it.
#include <exception>
#include <string>

namespace kv {

class Exception : public std::exception {
public:
    explicit Exception(std::string message) : message_(std::move(message)) {}
    const std::string& Message() const noexcept { return message_; }
    const char* what() const noexcept override { return message_.c_str(); }
    // The class name as the failure report and the developer tools print it ("EReadError").
    virtual const char* ClassName() const noexcept { return "Exception"; }

private:
    std::string message_;
};

#define KV_DECLARE_EXCEPTION(Name, Base)                                          \
    class Name : public Base {                                                    \
    public:                                                                       \
        using Base::Base;                                                         \
        const char* ClassName() const noexcept override { return #Name; }         \
    };

KV_DECLARE_EXCEPTION(EInvalidGraphic, Exception)
KV_DECLARE_EXCEPTION(EInvalidGraphicOperation, Exception)
KV_DECLARE_EXCEPTION(EInvalidOperation, Exception)
KV_DECLARE_EXCEPTION(EConvertError, Exception)
KV_DECLARE_EXCEPTION(EOutOfResources, Exception)
KV_DECLARE_EXCEPTION(EStreamError, Exception)
KV_DECLARE_EXCEPTION(EFOpenError, EStreamError)
KV_DECLARE_EXCEPTION(EReadError, EStreamError)
KV_DECLARE_EXCEPTION(EOSError, Exception)
KV_DECLARE_EXCEPTION(EJPEG, Exception)
KV_DECLARE_EXCEPTION(GIFException, EInvalidGraphic)

#undef KV_DECLARE_EXCEPTION

// Texts shared by several raisers.
inline constexpr const char* kOutOfResourcesText = "Out of system resources";
inline constexpr const char* kStreamReadErrorText = "Stream read error";

}  // namespace kv
