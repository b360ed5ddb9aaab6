#pragma once
// A run of sections made one after another, the next few made on threads of their own while the
// one at hand is used: what keeps every core busy while the book's zip copies a section.

#include <QtGlobal>

#include <deque>
#include <functional>
#include <future>
#include <system_error>
#include <thread>
#include <utility>

namespace pote::epub {

template <typename Made> class SectionsAhead {
public:
    // make(section) must be safe to call from several threads at once.
    SectionsAhead(int count, std::function<Made(int section)> make)
        : m_count(count), m_make(std::move(make)),
          m_depth(static_cast<size_t>(qBound(1u, std::thread::hardware_concurrency(), 4u))) {}
    // What is made ahead reads what make reads: it ends before that does.
    ~SectionsAhead() {
        for (auto& [section, made] : m_ahead)
            made.wait();
    }
    SectionsAhead(const SectionsAhead&) = delete;
    SectionsAhead& operator=(const SectionsAhead&) = delete;

    // The section, from the threads ahead or made here when none has it; the ones after it are
    // started. Sections asked for out of order are made again.
    Made take(int section) {
        while (!m_ahead.empty() && m_ahead.front().first < section) {
            m_ahead.front().second.wait();
            m_ahead.pop_front();
        }
        Made made;
        if (!m_ahead.empty() && m_ahead.front().first == section) {
            made = m_ahead.front().second.get();
            m_ahead.pop_front();
        } else {
            made = m_make(section);
        }
        startAfter(section);
        return made;
    }

private:
    void startAfter(int section) {
        int next = m_ahead.empty() ? section + 1 : m_ahead.back().first + 1;
        for (; m_ahead.size() < m_depth && next < m_count; ++next) {
            try {
                m_ahead.emplace_back(
                    next, std::async(std::launch::async, [this, next] { return m_make(next); }));
            } catch (const std::system_error&) {
                return; // no thread to be had: the section is made when it is reached
            }
        }
    }

    const int m_count;
    const std::function<Made(int)> m_make;
    const size_t m_depth; // sections made ahead at once
    std::deque<std::pair<int, std::future<Made>>> m_ahead;
};

} // namespace pote::epub
