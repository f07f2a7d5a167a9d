#include "cli/batch_runner.h"

#include "cli/request_error.h"

#include <array>
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

// Where a request stands in the input, for messages: line k of JSON Lines (0: the single
// document, which needs no place).
std::string Where(std::size_t lineNo) {
    return lineNo == 0 ? std::string() : "line " + std::to_string(lineNo);
}

void ErrorAnswer(std::string message, std::size_t lineNo, int indent, Answer& answer) {
    constexpr auto kReplace = ordered_json::error_handler_t::replace;
    // Messages quote excerpts of the request; this bounds whatever slips through.
    message = Excerpt(message, kMaxErrorMessageBytes);
    if (lineNo != 0) {
        message = Where(lineNo) + ": " + message;
    }
    nlohmann::ordered_json error{{"error", message}};
    answer.text = error.dump(indent, ' ', false, kReplace);
    answer.ok = false;
}

// Runs the handler; whatever it throws becomes the error answer of this request.
void AnswerRequest(const RequestHandler& handler, std::string_view text, std::size_t lineNo,
                   int indent, Answer& answer) {
    constexpr auto kReplace = ordered_json::error_handler_t::replace;
    std::string message;
    try {
        handler(text, answer.text);
        if (indent >= 0) {
            // A single document's answer is shown laid out.
            answer.text = ordered_json::parse(answer.text).dump(indent, ' ', false, kReplace);
        }
        answer.ok = true;
        return;
    } catch (const std::exception& error) {
        message = error.what();
    } catch (...) {
        message = "internal error";
    }
    ErrorAnswer(std::move(message), lineNo, indent, answer);
}

// The answer to a request text that is not read at all.
void TooLarge(std::size_t lineNo, int indent, Answer& answer) {
    ErrorAnswer("the request is longer than " + std::to_string(kMaxRequestBytes) +
                    " bytes (1 MiB), the most one request may take; it was not read",
                lineNo, indent, answer);
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

    // The next line into `line` (its storage reused).
    bool Next(Line& line, std::size_t& lineNo) {
        if (!m_buffered.empty()) {
            line.text.assign(m_buffered.front().text);
            line.tooLong = m_buffered.front().tooLong;
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
    // Reads the line in pieces, each found in the stream's buffer at once.
    bool Read(Line& line) {
        line.text.clear();
        line.tooLong = false;
        bool any = false;
        for (;;) {
            std::array<char, 4096> piece;
            m_in.getline(piece.data(), static_cast<std::streamsize>(piece.size()));
            // gcount counts the end of the line when it was read (and dropped); the piece is
            // full when getline stopped without reaching either end.
            const auto read = static_cast<std::size_t>(m_in.gcount());
            const bool atEnd = m_in.eof();
            const bool full = m_in.fail() && !atEnd;
            const std::size_t stored = !atEnd && !m_in.fail() ? read - 1 : read;
            any = any || read > 0;
            if (line.text.size() + stored <= kMaxRequestBytes && !line.tooLong) {
                line.text.append(piece.data(), stored);
            } else {
                line.tooLong = true;
            }
            if (full) {
                m_in.clear(m_in.rdstate() & ~std::ios::failbit);
                continue;
            }
            break;
        }
        if (line.tooLong) {
            std::string().swap(line.text);
        } else if (line.text.capacity() < line.text.size() + line.text.size() / 8) {
            // Room to spare, so that the next, slightly longer line of a batch fits too.
            line.text.reserve(line.text.size() + line.text.size() / 4 + 64);
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

// The answer to one line of a batch.
void AnswerLine(const RequestHandler& handler, const Line& line, std::size_t lineNo,
                Answer& answer) {
    if (line.tooLong) {
        TooLarge(lineNo, -1, answer);
        return;
    }
    AnswerRequest(handler, line.text, lineNo, -1, answer);
}

void RunLinesSerial(LineSource& lines, std::ostream& out, const RequestHandler& handler,
                    BatchSummary& summary) {
    Line line;
    Answer answer;
    std::size_t lineNo = 0;
    while (lines.Next(line, lineNo)) {
        if (!line.tooLong && IsBlank(line.text)) {
            continue;
        }
        AnswerLine(handler, line, lineNo, answer);
        Write(out, answer, summary);
        if (!lines.InputReady()) {
            out.flush();
        }
    }
    out.flush();
}

// Reader (the calling thread) -> N workers -> writer thread, through a window of jobs kept in
// input order. The window is a ring of job slots made once: a slot holds the line read into it
// and the answer written for it, and both keep their storage from one use to the next.
//
// Threads are woken only when there is something for them: a worker when it waits and a line
// is read, the writer when a block of answers is ready in order (or the input has ended), the
// reader when the writer has made room. Otherwise the writer looks every 2 ms, writes what is
// ready and flushes the output when nothing more is, so that an interactive caller gets each
// answer within that time and a busy batch is written in large blocks.
class Pipeline {
public:
    Pipeline(std::ostream& out, const RequestHandler& handler, std::size_t capacity)
        : m_out(out), m_handler(handler), m_jobs(capacity) {}

    BatchSummary Run(LineSource& lines, int threads) {
        std::vector<std::thread> workers;
        for (int t = 0; t < threads; ++t) {
            workers.emplace_back([this] { Work(); });
        }
        std::thread writer([this] { WriteAnswers(); });

        std::size_t lineNo = 0;
        for (;;) {
            // The next free slot: it is outside the window, so it is the reader's alone.
            std::size_t seq = 0;
            {
                std::unique_lock lock(m_mutex);
                ++m_readerWaiting;
                m_spaceCv.wait(lock, [this] { return m_endSeq - m_firstSeq < m_jobs.size(); });
                --m_readerWaiting;
                seq = m_endSeq;
            }
            Job& job = Slot(seq);
            bool read = false;
            while ((read = lines.Next(job.line, lineNo)) && !job.line.tooLong &&
                   IsBlank(job.line.text)) {
            }
            if (!read) {
                break;
            }
            job.lineNo = lineNo;
            job.done = false;
            std::lock_guard lock(m_mutex);
            ++m_endSeq;
            if (m_idleWorkers > 0) {
                m_workCv.notify_one();
            }
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
    // Answers ready in order that wake the writer before its next look.
    static constexpr std::size_t kBlock = 64;

    // Slots start on cache lines of their own: neighbouring slots are filled by different workers.
    struct alignas(64) Job {
        std::size_t lineNo = 0;
        Line line;
        Answer answer;
        bool done = false;
    };

    Job& Slot(std::size_t seq) { return m_jobs[seq % m_jobs.size()]; }

    // Whether the writer has a block to write or the batch has ended (under the lock).
    bool WriterHasWork() const {
        return m_readyEnd - m_firstSeq >= kBlock || (m_eof && m_readyEnd == m_endSeq);
    }

    void Work() {
        for (;;) {
            std::size_t seq = 0;
            {
                std::unique_lock lock(m_mutex);
                ++m_idleWorkers;
                m_workCv.wait(lock, [this] { return m_nextSeq < m_endSeq || m_eof; });
                --m_idleWorkers;
                if (m_nextSeq >= m_endSeq) {
                    return;
                }
                seq = m_nextSeq++;
            }
            Job& job = Slot(seq);
            AnswerLine(m_handler, job.line, job.lineNo, job.answer);
            std::lock_guard lock(m_mutex);
            job.done = true;
            while (m_readyEnd < m_endSeq && Slot(m_readyEnd).done) {
                ++m_readyEnd;
            }
            if (m_writerWaiting && WriterHasWork()) {
                m_doneCv.notify_one();
            }
        }
    }

    void WriteAnswers() {
        std::unique_lock lock(m_mutex);
        bool unflushed = false;
        for (;;) {
            m_writerWaiting = true;
            m_doneCv.wait_for(lock, std::chrono::milliseconds(2),
                              [this] { return WriterHasWork(); });
            m_writerWaiting = false;
            // The answers ready in order are written outside the lock; their slots stay in
            // the window (and so untouched) until they are written.
            const std::size_t first = m_firstSeq;
            const std::size_t ready = m_readyEnd - first;
            if (ready > 0) {
                lock.unlock();
                for (std::size_t k = 0; k < ready; ++k) {
                    Write(m_out, Slot(first + k).answer, m_summary);
                }
                unflushed = true;
                lock.lock();
                m_firstSeq += ready;
                if (m_readerWaiting > 0) {
                    m_spaceCv.notify_one();
                }
            }
            const bool over = m_eof && m_firstSeq == m_endSeq;
            if (unflushed && (over || m_readyEnd == m_firstSeq)) {
                lock.unlock();
                m_out.flush();
                unflushed = false;
                lock.lock();
            }
            if (over) {
                return;
            }
        }
    }

    std::ostream& m_out;
    const RequestHandler& m_handler;
    std::vector<Job> m_jobs;
    std::mutex m_mutex;
    std::condition_variable m_workCv;
    std::condition_variable m_doneCv;
    std::condition_variable m_spaceCv;
    std::size_t m_firstSeq = 0; // the oldest job not yet written
    std::size_t m_readyEnd = 0; // the end of the answers ready in order from m_firstSeq
    std::size_t m_nextSeq = 0;  // the next job to hand to a worker
    std::size_t m_endSeq = 0;   // jobs read so far
    int m_idleWorkers = 0;
    int m_readerWaiting = 0;
    bool m_writerWaiting = false;
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
            Answer none;
            ErrorAnswer("the input holds no request", 0, options.singleIndent, none);
            Write(out, none, summary);
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
            Answer answer;
            if (tooLarge) {
                TooLarge(0, options.singleIndent, answer);
            } else {
                AnswerRequest(handler, whole, 0, options.singleIndent, answer);
            }
            Write(out, answer, summary);
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
