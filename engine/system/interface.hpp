// Base of the system seam's interfaces: owned through references or
// unique_ptr, never copied.
#pragma once

namespace install {

class Interface {
public:
    Interface(const Interface&) = delete;
    Interface& operator=(const Interface&) = delete;
    virtual ~Interface() = default;

protected:
    Interface() = default;
};

}  // namespace install
