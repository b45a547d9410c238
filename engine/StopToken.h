#pragma once

#include <stop_token>

// How a stop reaches every thread that works on one picture.
//
// A run and a preview's load each open their picture once, as a SourceFile, and that file holds
// the one stop source of the work. Whoever wants the work to end requests a stop there, from any
// thread, and does not wait for it; every thread working on the picture checks the same token:
// - the run, at every yield: an observer whose yield() answers false has the run request the stop,
//   and the run then unwinds its own stack to its end, writing nothing;
// - the read-ahead ring's decoder thread, before every batch of rows, and a reader waiting for rows;
// - the lower rows' sampling thread, before every row;
// - every decoder reading the file: JPEG decoders, Qt's readers decoding a whole picture beside
//   the run or in the preview's loader, the completeness check; their reads of the file fail
//   once a stop is requested, which ends a decoder that has no other way of being told;
// - the converter's signal handler only sets a flag, which its observers' yields answer.
// A helper thread also stops when its owner goes first, through a LinkedStop of its own.
using StopSource = std::stop_source;
using StopToken = std::stop_token;

// A stop of a helper thread's own: requested by its owner, or by the work's stop.
class LinkedStop
{
public:
    explicit LinkedStop(const StopToken &work) : m_link(work, Forward{m_own}) {}

    void request() { m_own.request_stop(); }
    StopToken token() const { return m_own.get_token(); }
    bool requested() const { return m_own.stop_requested(); }

private:
    struct Forward
    {
        StopSource own;
        void operator()() { own.request_stop(); }
    };
    StopSource m_own;
    std::stop_callback<Forward> m_link; // after m_own, which it may stop at once
};
