#pragma once

// Captures what is written to standard error (file descriptor 2) while it lives.

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace dadez_test {

class StderrCapture {
public:
    StderrCapture() {
        std::fflush(stderr);
        char path[] = "/tmp/quorvane-stderr-XXXXXX";
        m_fd = ::mkstemp(path);
        m_path = path;
        m_saved = ::dup(2);
        ::dup2(m_fd, 2);
    }
    ~StderrCapture() { Restore(); }
    StderrCapture(const StderrCapture&) = delete;
    StderrCapture& operator=(const StderrCapture&) = delete;

    // Stops capturing and returns everything written since construction.
    std::string Text() {
        Restore();
        std::ifstream in(m_path);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

private:
    void Restore() {
        if (m_saved >= 0) {
            std::fflush(stderr);
            ::dup2(m_saved, 2);
            ::close(m_saved);
            ::close(m_fd);
            m_saved = -1;
        }
    }

    int m_fd = -1;
    int m_saved = -1;
    std::string m_path;
};

// Number of non-overlapping occurrences of `needle` in `text`.
inline int Count(const std::string& text, const std::string& needle) {
    int n = 0;
    for (std::size_t at = text.find(needle); at != std::string::npos;
         at = text.find(needle, at + needle.size())) {
        ++n;
    }
    return n;
}

} // namespace dadez_test
