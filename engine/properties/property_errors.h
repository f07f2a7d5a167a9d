#pragma once

#include "engine/eos/engine_errors.h"

// A failure of the mixture-property calculation that ends it and goes to the caller (the
// steps after the heat-capacity ratios are not protected by the driver's skipping).

namespace quorvane {

class PropertyError : public EngineError {
public:
    using EngineError::EngineError;
};

} // namespace quorvane
