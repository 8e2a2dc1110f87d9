#pragma once
// Where a media stream comes from. Format code opens streams through this and
// never sees platform handles.
#include <memory>

#include "framework/Media.h"

namespace quorvel {

class CABCMediaSpec {
public:
    virtual ~CABCMediaSpec() = default;
    virtual std::unique_ptr<CMedia> OpenForReading() const = 0;
    virtual std::unique_ptr<CMedia> OpenForWriting() const = 0;
};

} // namespace quorvel
