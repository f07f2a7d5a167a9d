#include "cli/batch_runner.h"

#include "cli/request_error.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <istream>
#include <memory>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

namespace quorvane {

namespace {

using nlohmann::ordered_json;

struct Answer {
    std::string text;
    bool ok = false;
};

bool IsBlank(std::string_view text) {
    return text.find_first_not_of(" \t\r\n\f\v") == std::string_view::npos;
}

Answer ErrorAnswer(std::string message, const std::string& where, int indent) {
    constexpr auto kReplace = ordered_json::error_handler_t::replace;
    // Messages quote excerpts of the request; this bounds whatever slips through.
    message = Excerpt(message, kMaxErrorMessageBytes);
    if (!where.empty()) {
        message = where + ": " + message;
    }
    nlohmann::ordered_json error{{"error", message}};
    return {error.dump(indent, ' ', false, kReplace), false};
}

// Runs the handler; whatever it throws becomes the error answer of this request.
Answer AnswerRequest(const RequestHandler& handler, std::string_view text, const std::string& where,
                     int indent) {
    constexpr auto kReplace = ordered_json::error_handler_t::replace;
    std::string message;
    try {
        std::string answer = handler(text);
        if (indent >= 0) {
            // A single document's answer is shown laid out.
            answer = ordered_json::parse(answer).dump(indent, ' ', false, kReplace);
        }
        return {std::move(answer), true};
    } catch (const std::exception& error) {
        message = error.what();
    } catch (...) {
        message = "internal error";
    }
    return ErrorAnswer(std::move(message), where, indent);
}

// The answer to a request text that is not read at all.
Answer TooLarge(const std::string& where, int indent) {
    return ErrorAnswer("the request is longer than " + std::to_string(kMaxRequestBytes) +
                           " bytes (1 MiB), the most one request may take; it was not read",
                       where, indent);
}

// Whether a text is one JSON value, judged by its syntax alone.
enum class JsonShape {
    Complete,  // one whole value
    EndsEarly, // valid up to its end, which comes too soon: the start of a longer document
    Broken,    // anything else
};

// Accepts every value and keeps the parser's complaint.
struct SyntaxOnly {
    std::size_t position = 0;
    std::string token;
    int id = 0;

    bool null() { return true; }
    bool boolean(bool) { return true; }
    bool number_integer(nlohmann::json::number_integer_t) { return true; }
    bool number_unsigned(nlohmann::json::number_unsigned_t) { return true; }
    bool number_float(nlohmann::json::number_float_t, const std::string&) { return true; }
    bool string(std::string&) { return true; }
    bool binary(nlohmann::json::binary_t&) { return true; }
    bool start_object(std::size_t) { return true; }
    bool key(std::string&) { return true; }
    bool end_object() { return true; }
    bool start_array(std::size_t) { return true; }
    bool end_array() { return true; }
    bool parse_error(std::size_t at, const std::string& lastToken,
                     const nlohmann::detail::exception& error) {
        position = at;
        token = lastToken;
        id = error.id;
        return false;
    }
};

// A number beyond the range of a double ("1e400") is a fault of the request, not of its
// syntax: such numbers are read as 0 here (the parser stops at each), so that the line still
// counts as a request of its own and gets its own error answer.
JsonShape ShapeOf(std::string_view text) {
    constexpr int kOutOfRange = 406;
    constexpr int kMostNumbersReplaced = 64;
    std::string copy;
    std::string_view current = text;
    for (int replaced = 0; replaced <= kMostNumbersReplaced; ++replaced) {
        SyntaxOnly sax;
        if (nlohmann::json::sax_parse(current, &sax, nlohmann::json::input_format_t::json, true,
                                      true)) {
            return JsonShape::Complete;
        }
        const std::size_t length = sax.token.size();
        if (sax.id == kOutOfRange && length > 0 && sax.position >= length &&
            current.substr(sax.position - length, length) == sax.token) {
            if (copy.empty()) {
                copy.assign(text);
            }
            copy.replace(sax.position - length, length, "0" + std::string(length - 1, ' '));
            current = copy;
            continue;
        }
        const std::size_t end = current.find_last_not_of(" \t\r\n\f\v") + 1;
        return sax.position > end ? JsonShape::EndsEarly : JsonShape::Broken;
    }
    return JsonShape::Broken;
}

// One line of the input (without its end-of-line character). A line longer than
// kMaxRequestBytes is read to its end but not kept: `text` is empty and `tooLong` set.
struct Line {
    std::string text;
    bool tooLong = false;
};

// Lines of the input: those read ahead while the mode was decided, then the stream.
class LineSource {
public:
    explicit LineSource(std::istream& in) : m_in(in) {}

    bool Next(Line& line, std::size_t& lineNo) {
        if (!m_buffered.empty()) {
            line = std::move(m_buffered.front());
            m_buffered.pop_front();
        } else if (!Read(line)) {
            return false;
        }
        lineNo = ++m_lineNo;
        return true;
    }

    void PutBack(std::deque<Line> lines, std::size_t firstLineNo) {
        m_buffered = std::move(lines);
        m_lineNo = firstLineNo - 1;
    }

    // More input is ready without blocking (used to delay flushing while it is).
    bool InputReady() { return !m_buffered.empty() || m_in.rdbuf()->in_avail() > 0; }

private:
    bool Read(Line& line) {
        line.text.clear();
        line.tooLong = false;
        std::streambuf* buffer = m_in.rdbuf();
        bool any = false;
        for (;;) {
            const int c = buffer->sbumpc();
            if (c == std::char_traits<char>::eof()) {
                m_in.setstate(std::ios::eofbit);
                break;
            }
            any = true;
            if (c == '\n') {
                break;
            }
            if (line.text.size() < kMaxRequestBytes) {
                line.text.push_back(static_cast<char>(c));
            } else {
                line.tooLong = true;
            }
        }
        if (line.tooLong) {
            std::string().swap(line.text);
        }
        return any;
    }

    std::istream& m_in;
    std::deque<Line> m_buffered;
    std::size_t m_lineNo = 0;
};

void Write(std::ostream& out, const Answer& answer, BatchSummary& summary) {
    out.write(answer.text.data(), static_cast<std::streamsize>(answer.text.size()));
    out.put('\n');
    ++summary.requests;
    if (!answer.ok) {
        ++summary.failed;
    }
}

std::string LinePlace(std::size_t lineNo) {
    return "line " + std::to_string(lineNo);
}

// The answer to one line of a batch.
Answer AnswerLine(const RequestHandler& handler, const Line& line, std::size_t lineNo) {
    if (line.tooLong) {
        return TooLarge(LinePlace(lineNo), -1);
    }
    return AnswerRequest(handler, line.text, LinePlace(lineNo), -1);
}

void RunLinesSerial(LineSource& lines, std::ostream& out, const RequestHandler& handler,
                    BatchSummary& summary) {
    Line line;
    std::size_t lineNo = 0;
    while (lines.Next(line, lineNo)) {
        if (!line.tooLong && IsBlank(line.text)) {
            continue;
        }
        Write(out, AnswerLine(handler, line, lineNo), summary);
        if (!lines.InputReady()) {
            out.flush();
        }
    }
    out.flush();
}

// Reader (the calling thread) -> N workers -> writer thread, through a bounded window of
// jobs kept in input order.
class Pipeline {
public:
    Pipeline(std::ostream& out, const RequestHandler& handler, std::size_t capacity)
        : m_out(out), m_handler(handler), m_capacity(capacity) {}

    BatchSummary Run(LineSource& lines, int threads) {
        std::vector<std::thread> workers;
        for (int t = 0; t < threads; ++t) {
            workers.emplace_back([this] { Work(); });
        }
        std::thread writer([this] { WriteAnswers(); });

        Line line;
        std::size_t lineNo = 0;
        while (lines.Next(line, lineNo)) {
            if (!line.tooLong && IsBlank(line.text)) {
                continue;
            }
            auto job = std::make_unique<Job>();
            job->lineNo = lineNo;
            job->line = std::move(line);
            std::unique_lock lock(m_mutex);
            m_spaceCv.wait(lock, [this] { return m_window.size() < m_capacity; });
            m_window.push_back(std::move(job));
            ++m_endSeq;
            m_workCv.notify_one();
        }
        {
            std::lock_guard lock(m_mutex);
            m_eof = true;
        }
        m_workCv.notify_all();
        m_doneCv.notify_all();
        for (std::thread& worker : workers) {
            worker.join();
        }
        writer.join();
        return m_summary;
    }

private:
    struct Job {
        std::size_t lineNo = 0;
        Line line;
        Answer answer;
        bool done = false;
    };

    void Work() {
        for (;;) {
            Job* job = nullptr;
            bool first = false;
            {
                std::unique_lock lock(m_mutex);
                m_workCv.wait(lock, [this] { return m_nextSeq < m_endSeq || m_eof; });
                if (m_nextSeq >= m_endSeq) {
                    return;
                }
                job = m_window[m_nextSeq - m_firstSeq].get();
                ++m_nextSeq;
            }
            Answer answer = AnswerLine(m_handler, job->line, job->lineNo);
            {
                std::lock_guard lock(m_mutex);
                job->answer = std::move(answer);
                job->done = true;
                first = job == m_window.front().get();
            }
            if (first) {
                m_doneCv.notify_one();
            }
        }
    }

    bool FrontDone() const { return !m_window.empty() && m_window.front()->done; }

    void WriteAnswers() {
        std::vector<std::unique_ptr<Job>> ready;
        std::unique_lock lock(m_mutex);
        for (;;) {
            if (!FrontDone()) {
                // Nothing in order is ready: wait a moment for it before flushing, so a busy
                // batch is written in large blocks and an interactive one line by line.
                if (!m_doneCv.wait_for(lock, std::chrono::milliseconds(2), [this] {
                        return FrontDone() || (m_eof && m_window.empty());
                    })) {
                    lock.unlock();
                    m_out.flush();
                    lock.lock();
                    m_doneCv.wait(lock,
                                  [this] { return FrontDone() || (m_eof && m_window.empty()); });
                }
                if (!FrontDone()) {
                    break; // end of input and every answer written
                }
            }
            while (FrontDone()) {
                ready.push_back(std::move(m_window.front()));
                m_window.pop_front();
                ++m_firstSeq;
            }
            m_spaceCv.notify_one();
            lock.unlock();
            for (const auto& job : ready) {
                Write(m_out, job->answer, m_summary);
            }
            ready.clear();
            lock.lock();
        }
        lock.unlock();
        m_out.flush();
    }

    std::ostream& m_out;
    const RequestHandler& m_handler;
    const std::size_t m_capacity;
    std::mutex m_mutex;
    std::condition_variable m_workCv;
    std::condition_variable m_doneCv;
    std::condition_variable m_spaceCv;
    std::deque<std::unique_ptr<Job>> m_window;
    std::size_t m_firstSeq = 0; // sequence number of m_window.front()
    std::size_t m_nextSeq = 0;  // next job to hand to a worker
    std::size_t m_endSeq = 0;   // jobs read so far
    bool m_eof = false;
    BatchSummary m_summary; // touched by the writer thread only
};

} // namespace

BatchSummary RunBatch(std::istream& in, std::ostream& out, const RequestHandler& handler,
                      const BatchOptions& options) {
    BatchSummary summary;
    LineSource lines(in);

    // The first non-blank line decides the mode: a complete JSON value on it (or a line too
    // long to read) means JSON Lines.
    Line first;
    std::size_t firstLineNo = 0;
    do {
        if (!lines.Next(first, firstLineNo)) {
            const ordered_json error{{"error", "the input holds no request"}};
            Write(out, {error.dump(options.singleIndent), false}, summary);
            out.flush();
            return summary;
        }
    } while (!first.tooLong && IsBlank(first.text));

    std::deque<Line> readAhead;
    readAhead.push_back(first);
    if (!first.tooLong && ShapeOf(first.text) == JsonShape::EndsEarly) {
        // A document spread over several lines: read it whole, as long as it stays within the
        // size of one request.
        Line line;
        std::size_t lineNo = 0;
        std::string whole = first.text;
        bool tooLarge = false;
        while (lines.Next(line, lineNo)) {
            tooLarge =
                tooLarge || line.tooLong || whole.size() + 1 + line.text.size() > kMaxRequestBytes;
            if (!tooLarge) {
                whole += '\n';
                whole += line.text;
            }
            readAhead.push_back(std::move(line));
        }
        bool linesOfTheirOwn = false;
        if (tooLarge || ShapeOf(whole) != JsonShape::Complete) {
            // Not one document. If other lines stand as requests of their own, this is JSON
            // Lines whose first line is broken; otherwise report the document's syntax error.
            for (std::size_t k = 1; k < readAhead.size() && !linesOfTheirOwn; ++k) {
                linesOfTheirOwn = !readAhead[k].tooLong && !IsBlank(readAhead[k].text) &&
                                  ShapeOf(readAhead[k].text) == JsonShape::Complete;
            }
        }
        if (!linesOfTheirOwn) {
            Write(out,
                  tooLarge ? TooLarge("", options.singleIndent)
                           : AnswerRequest(handler, whole, "", options.singleIndent),
                  summary);
            out.flush();
            return summary;
        }
    }
    lines.PutBack(std::move(readAhead), firstLineNo);

    if (options.threads <= 1) {
        RunLinesSerial(lines, out, handler, summary);
        return summary;
    }
    Pipeline pipeline(out, handler, 512 * static_cast<std::size_t>(options.threads));
    return pipeline.Run(lines, options.threads);
}

} // namespace quorvane
