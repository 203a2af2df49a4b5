// The record of what the program asked of the simulated machine, and the
// plan of failures that tests inject into named operations.
#pragma once

#include "platform/types.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::sim {

// One call: operation name, its arguments as text, its result code (0 for
// success; for calls that return a truth value, 0 or the error they set).
struct JournalEntry {
    std::string operation;
    std::vector<std::string> arguments;
    platform::ErrorCode result = 0;
    bool injected = false; // the result came from the failure plan

    // "NetJoinDomain(SALES, -, installer@SALES, ***, 0x23) = 0", with
    // " [injected]" behind an injected result.
    std::string Text() const;
};

class Journal {
public:
    void Record(JournalEntry entry) { entries_.push_back(std::move(entry)); }
    const std::vector<JournalEntry>& Entries() const { return entries_; }
    void Clear() { entries_.clear(); }

private:
    std::vector<JournalEntry> entries_;
};

// Argument texts for the journal: null is "-", an empty text is "\"\"";
// passwords never appear, only whether one was passed.
std::string JournalText(const char16_t* text);
std::string JournalText(std::u16string_view text);
std::string JournalSecret(const char16_t* password);

inline constexpr int kAlways = -1;

struct Failure {
    std::string operation;
    platform::ErrorCode code = 0;
    int remaining = kAlways; // calls still to fail, or kAlways
    std::u16string subject;  // empty: any call; else only calls on this subject
};

// Injected results. An operation fails when a planned failure names it and,
// if the failure has a subject, the call's subject (the first text
// argument: domain, key path, file path, adapter name) equals it without
// regard to case. The first matching failure in the order added is used.
class FailurePlan {
public:
    // The operation names that can fail, as the Win32 functions are called.
    static std::span<const std::string_view> Operations();
    static bool IsKnownOperation(std::string_view operation);

    // False (and nothing planned) for an unknown operation or a count of 0.
    bool Add(std::string_view operation, platform::ErrorCode code, int times = kAlways,
             std::u16string_view subject = {});
    std::optional<platform::ErrorCode> Take(std::string_view operation,
                                            std::u16string_view subject = {});
    const std::vector<Failure>& Pending() const { return failures_; }
    void Clear() { failures_.clear(); }

private:
    std::vector<Failure> failures_;
};

} // namespace corvane::sim
