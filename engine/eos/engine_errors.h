#pragma once

#include <stdexcept>
#include <string>

// Arithmetic failures of the equation-of-state and flash routines. A routine that cannot go on
// throws one of these; the flash driver catches them and records a failed run in plain words.
// The split follows what the flash routines need to tell apart: an overflow or a division by
// zero may be stepped over where the algorithm says so, an invalid argument ends the routine.

namespace quorvane {

class EngineError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A result too large to represent, or one that does not fit 32-bit storage.
class OverflowError : public EngineError {
public:
    using EngineError::EngineError;
};

// A division whose divisor is zero.
class DivisionByZeroError : public EngineError {
public:
    using EngineError::EngineError;
};

// The logarithm of a non-positive number, the square root of a negative one and the like.
class InvalidArgumentError : public EngineError {
public:
    using EngineError::EngineError;
};

// A mixture the engine cannot hold (more components than the working arrays allow, arrays of
// different lengths).
class MixtureSizeError : public EngineError {
public:
    using EngineError::EngineError;
};

} // namespace quorvane
