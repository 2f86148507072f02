// The platform's shell link service, which writes shortcut files.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "engine/system/interface.hpp"

namespace install {

// Result codes of the service: negative is a failure.
using LinkResult = std::int32_t;

inline bool LinkFailed(LinkResult result) { return result < 0; }

// One shell link object. Destroying it releases its persist-file interface,
// then the link itself.
class IShellLinkObject : public Interface {
public:
    // Asks the object for the interface that saves it to a file.
    virtual LinkResult QueryPersistFile() = 0;
    virtual LinkResult SetPath(const std::string& target) = 0;
    virtual LinkResult SetDescription(const std::string& description) = 0;
    // Saves the link under path, given in the system's code page; the
    // platform hands it on as UTF-16.
    virtual LinkResult Save(const std::string& path) = 0;
};

class IShellLinks : public Interface {
public:
    // Starts this thread's use of the component library.
    virtual void Initialize() = 0;
    // Ends it, once for each Initialize.
    virtual void Uninitialize() = 0;
    // A new link object; nullptr with the failure in result.
    virtual std::unique_ptr<IShellLinkObject> CreateLink(LinkResult& result) = 0;
};

}  // namespace install
