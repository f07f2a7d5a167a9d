#include "cli/batch_runner.h"

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
    if (!where.empty()) {
        message = where + ": " + message;
    }
    nlohmann::ordered_json error{{"error", message}};
    return {error.dump(indent, ' ', false, kReplace), false};
}

bool IsCompleteJson(std::string_view text) {
    return nlohmann::json::accept(text, true);
}

// True when the text parses up to its end but stops there: the start of a longer document.
bool EndsEarly(std::string_view text) {
    try {
        [[maybe_unused]] auto parsed = nlohmann::json::parse(text, nullptr, true, true);
        return false;
    } catch (const nlohmann::json::parse_error& error) {
        std::string_view trimmed = text.substr(0, text.find_last_not_of(" \t\r\n\f\v") + 1);
        return error.byte > trimmed.size();
    }
}

// Lines of the input: those read ahead while the mode was decided, then the stream.
class LineSource {
public:
    explicit LineSource(std::istream& in) : m_in(in) {}

    bool Next(std::string& line, std::size_t& lineNo) {
        if (!m_buffered.empty()) {
            line = std::move(m_buffered.front());
            m_buffered.pop_front();
        } else if (!std::getline(m_in, line)) {
            return false;
        }
        lineNo = ++m_lineNo;
        return true;
    }

    void PutBack(std::deque<std::string> lines, std::size_t firstLineNo) {
        m_buffered = std::move(lines);
        m_lineNo = firstLineNo - 1;
    }

    // More input is ready without blocking (used to delay flushing while it is).
    bool InputReady() { return !m_buffered.empty() || m_in.rdbuf()->in_avail() > 0; }

private:
    std::istream& m_in;
    std::deque<std::string> m_buffered;
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

void RunLinesSerial(LineSource& lines, std::ostream& out, const RequestHandler& handler,
                    BatchSummary& summary) {
    std::string line;
    std::size_t lineNo = 0;
    while (lines.Next(line, lineNo)) {
        if (IsBlank(line)) {
            continue;
        }
        Write(out, AnswerRequest(handler, line, LinePlace(lineNo), -1), summary);
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

        std::string line;
        std::size_t lineNo = 0;
        while (lines.Next(line, lineNo)) {
            if (IsBlank(line)) {
                continue;
            }
            auto job = std::make_unique<Job>();
            job->lineNo = lineNo;
            job->text = std::move(line);
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
        std::string text;
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
            Answer answer = AnswerRequest(m_handler, job->text, LinePlace(job->lineNo), -1);
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

    // The first non-blank line decides the mode: a complete JSON value on it means JSON Lines.
    std::string first;
    std::size_t firstLineNo = 0;
    do {
        if (!lines.Next(first, firstLineNo)) {
            const ordered_json error{{"error", "the input holds no request"}};
            Write(out, {error.dump(options.singleIndent), false}, summary);
            out.flush();
            return summary;
        }
    } while (IsBlank(first));

    std::deque<std::string> readAhead;
    readAhead.push_back(first);
    if (!IsCompleteJson(first) && EndsEarly(first)) {
        // A document spread over several lines: read it whole.
        std::string line;
        std::size_t lineNo = 0;
        std::string whole = first;
        while (lines.Next(line, lineNo)) {
            whole += '\n';
            whole += line;
            readAhead.push_back(line);
        }
        bool linesOfTheirOwn = false;
        if (!IsCompleteJson(whole)) {
            // Not one document. If other lines stand as requests of their own, this is JSON
            // Lines whose first line is broken; otherwise report the document's syntax error.
            for (std::size_t k = 1; k < readAhead.size() && !linesOfTheirOwn; ++k) {
                linesOfTheirOwn = !IsBlank(readAhead[k]) && IsCompleteJson(readAhead[k]);
            }
        }
        if (!linesOfTheirOwn) {
            Write(out, AnswerRequest(handler, whole, "", options.singleIndent), summary);
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
