#pragma once
// Short text (n): a text of at most n characters; a longer value is cut to n on assignment, silently.
#include <cstddef>
#include <string>
#include <string_view>

namespace runtime {

inline std::string cutText(std::string_view text, std::size_t n) {
    return std::string(text.substr(0, n));
}

template <std::size_t N>
class ShortText {
public:
    ShortText() = default;
    ShortText(std::string_view s) : value_(cutText(s, N)) {}  // NOLINT: assignment semantics wanted
    ShortText(const char* s) : ShortText(std::string_view(s)) {}
    ShortText(const std::string& s) : ShortText(std::string_view(s)) {}
    ShortText& operator=(std::string_view s) { value_ = cutText(s, N); return *this; }
    ShortText& operator=(const std::string& s) { return *this = std::string_view(s); }
    ShortText& operator=(const char* s) { return *this = std::string_view(s); }

    const std::string& str() const { return value_; }
    operator const std::string&() const { return value_; }  // NOLINT: reads like a text
    std::size_t size() const { return value_.size(); }
    bool empty() const { return value_.empty(); }
    static constexpr std::size_t capacity() { return N; }
    friend bool operator==(const ShortText& a, const ShortText& b) { return a.value_ == b.value_; }
    friend bool operator==(const ShortText& a, std::string_view b) { return a.value_ == b; }
    friend bool operator==(const ShortText& a, const char* b) { return a.value_ == b; }
    friend bool operator==(const ShortText& a, const std::string& b) { return a.value_ == b; }

private:
    std::string value_;
};

}  // namespace runtime
