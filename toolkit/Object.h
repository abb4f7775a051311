#pragma once
// The common base of components, so that an event's Sender can be any of them.

namespace toolkit {

class TObject {
public:
    virtual ~TObject() = default;

protected:
    TObject() = default;
};

}  // namespace toolkit
