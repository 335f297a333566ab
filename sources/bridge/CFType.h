// Owns exactly one retained Core Foundation reference: retains it on construction and releases
// it on destruction. Neither copied nor moved, so the reference goes exactly once. Main event
// loop only.
#pragma once

#include <cstdint>
#include <memory>

class CFString;

class CFType {
  public:
    // Retains theRef. Raises InvalidParameterException for 0 and CFTypeRefException when the
    // retain answers no reference.
    explicit CFType(int32_t theRef);
    virtual ~CFType();
    CFType(const CFType&) = delete;
    CFType& operator=(const CFType&) = delete;

    bool Equals(const CFType& other) const;
    int32_t TypeID() const;
    std::unique_ptr<CFString> Description() const;
    std::unique_ptr<CFString> TypeDescription() const;
    int32_t RefCount() const;
    int32_t Hash() const;
    // The reference, as it is passed as a message argument.
    virtual explicit operator int32_t() const;
    void Show() const;

    // Never 0 while the object lives.
    int32_t Ref() const { return ref_; }

  private:
    int32_t ref_ = 0;
};
