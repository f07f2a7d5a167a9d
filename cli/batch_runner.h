#pragma once

#include <cstddef>
#include <functional>
#include <iosfwd>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

// Runs the requests of one input: either a single JSON document (pretty-printed object) or
// JSON Lines, one request per line, each answered on its own output line in input order.
// With several threads, requests run in parallel and answers still come out in input order;
// answers are flushed as soon as the next one in order is ready, so a pipe gets its answers
// line by line.

namespace quorvane {

// The most one request may take: a line of JSON Lines, or a whole single document. A longer
// one is answered with an error without being parsed.
inline constexpr std::size_t kMaxRequestBytes = std::size_t{1} << 20;

// Answers one request text with the response as compact JSON text (one line), written into
// `answer` (whose storage the runner keeps for the next request). Throws RequestError (or any
// std::exception) when the request cannot be run; the runner then writes
// {"error": "<where>: <message>"} in its place.
using RequestHandler = std::function<void(std::string_view requestText, std::string& answer)>;

struct BatchOptions {
    int threads = 1;
    // Indentation of the answer to a single document (-1: one line). JSON Lines answers are
    // always one line each.
    int singleIndent = 2;
};

struct BatchSummary {
    std::size_t requests = 0;
    std::size_t failed = 0;
};

// Reads, answers and writes a batch of one mixture without allocating per request once its
// first requests have sized the storage (the handler permitting).
BatchSummary RunBatch(std::istream& in, std::ostream& out, const RequestHandler& handler,
                      const BatchOptions& options);

} // namespace quorvane
