#include "runtime/CodePage.h"

#include <array>
#include <cerrno>
#include <cstdint>
#include <optional>

#include <iconv.h>
#include <locale.h>
#include <wctype.h>

namespace runtime {
namespace {

constexpr char32_t kStandInBase = 0xF700;  // stand-ins of undefined bytes from 0xA0 on

// The languages whose Windows code page is not 1252; Serbian goes by its script.
struct LanguageCodePage {
    std::string_view language;
    int codePage;
};
constexpr LanguageCodePage kLanguageCodePages[] = {{"pl", 1250}, {"cs", 1250}, {"sk", 1250}, {"hu", 1250}, {"sl", 1250},
                                                   {"hr", 1250}, {"ro", 1250}, {"sq", 1250}, {"ru", 1251}, {"uk", 1251},
                                                   {"bg", 1251}, {"be", 1251}, {"mk", 1251}, {"el", 1253}, {"tr", 1254},
                                                   {"az", 1254}, {"he", 1255}, {"ar", 1256}, {"fa", 1256}, {"ur", 1256},
                                                   {"et", 1257}, {"lv", 1257}, {"lt", 1257}, {"vi", 1258}, {"th", 874}};

// One conversion of the system's iconv, from `from` to `to`.
class Converter {
public:
    Converter(const std::string& to, const std::string& from) : cd_(::iconv_open(to.c_str(), from.c_str())) {}
    ~Converter() {
        if (ok()) ::iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts `in` onto the end of `out` up to the first input that it cannot convert, and passes
    // over what it converted. False when it stopped before the end.
    bool convert(std::string_view& in, std::string& out) {
        char buffer[1024];
        char* source = const_cast<char*>(in.data());
        std::size_t sourceLeft = in.size();
        bool stopped = false;
        for (;;) {
            char* target = buffer;
            std::size_t targetLeft = sizeof buffer;
            const std::size_t result = ::iconv(cd_, &source, &sourceLeft, &target, &targetLeft);
            const int error = errno;
            out.append(buffer, static_cast<std::size_t>(target - buffer));
            if (result != static_cast<std::size_t>(-1)) break;
            if (error != E2BIG) {
                stopped = true;
                break;
            }
        }
        // What a converter of combining letters holds back comes out before anything that follows.
        for (;;) {
            char* target = buffer;
            std::size_t targetLeft = sizeof buffer;
            const std::size_t result = ::iconv(cd_, nullptr, nullptr, &target, &targetLeft);
            const int error = errno;
            out.append(buffer, static_cast<std::size_t>(target - buffer));
            if (result != static_cast<std::size_t>(-1) || error != E2BIG) break;
        }
        in.remove_prefix(in.size() - sourceLeft);
        return !stopped;
    }

private:
    iconv_t cd_;
};

struct CodePageTables {
    int number = 1252;
    std::string iconvName = "CP1252";
    std::array<bool, 256> undefined{};
    std::array<unsigned char, 256> upper{};
};

bool isAscii(std::string_view text) {
    for (const char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// The character at the start of `text`, or nullopt when it is malformed UTF-8; `length` is the
// bytes it takes, for a malformed one those of its longest well-formed beginning (at least 1).
std::optional<char32_t> firstCharacter(std::string_view text, std::size_t& length) {
    const auto lead = static_cast<unsigned char>(text[0]);
    length = 1;
    if (lead < 0x80) return lead;
    // The bytes that follow the lead, and the range of the first of them, which keeps out overlong
    // forms, surrogates and characters beyond U+10FFFF.
    std::size_t need = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        need = 1;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        need = 2;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        need = 3;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return std::nullopt;
    }
    char32_t cp = lead & (0x3F >> need);
    for (std::size_t k = 1; k <= need; ++k) {
        if (k >= text.size()) return std::nullopt;
        const auto c = static_cast<unsigned char>(text[k]);
        if (c < (k == 1 ? low : 0x80) || c > (k == 1 ? high : 0xBF)) return std::nullopt;
        cp = (cp << 6) | (c & 0x3F);
        length = k + 1;
    }
    return cp;
}

char32_t standIn(unsigned char byte) { return byte < 0xA0 ? char32_t{byte} : kStandInBase + byte; }

// The undefined byte that `cp` stands in for.
std::optional<unsigned char> standInByte(const CodePageTables& tables, char32_t cp) {
    std::optional<unsigned char> byte;
    if (cp >= 0x80 && cp < 0xA0) byte = static_cast<unsigned char>(cp);
    if (cp >= kStandInBase + 0xA0 && cp <= kStandInBase + 0xFF) byte = static_cast<unsigned char>(cp - kStandInBase);
    if (byte && tables.undefined[*byte]) return byte;
    return std::nullopt;
}

std::string decode(const CodePageTables& tables, std::string_view bytes) {
    if (isAscii(bytes)) return std::string(bytes);
    Converter converter("UTF-8", tables.iconvName);
    if (!converter.ok()) throw Error("The system cannot convert code page " + std::to_string(tables.number) + ".");
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    while (!converter.convert(bytes, out) && !bytes.empty()) {
        appendUtf8(out, standIn(static_cast<unsigned char>(bytes.front())));
        bytes.remove_prefix(1);
    }
    return out;
}

// UTF-8 to code-page bytes. A character without a byte becomes "?" unless `strict`; then the
// conversion stops and gives the position of that character and whether it was malformed.
bool encode(const CodePageTables& tables, std::string_view utf8, std::string& out, bool strict,
            std::size_t* failedAt = nullptr, bool* malformed = nullptr) {
    if (isAscii(utf8)) {
        out.assign(utf8);
        return true;
    }
    Converter converter(tables.iconvName, "UTF-8");
    if (!converter.ok()) throw Error("The system cannot convert code page " + std::to_string(tables.number) + ".");
    std::string_view rest = utf8;
    while (!converter.convert(rest, out) && !rest.empty()) {
        std::size_t length = 1;
        const std::optional<char32_t> cp = firstCharacter(rest, length);
        if (const auto byte = cp ? standInByte(tables, *cp) : std::nullopt) {
            out += static_cast<char>(*byte);
        } else if (strict) {
            if (failedAt) *failedAt = utf8.size() - rest.size();
            if (malformed) *malformed = !cp;
            return false;
        } else {
            out += '?';
        }
        rest.remove_prefix(length);
    }
    return true;
}

std::optional<CodePageTables> tablesOf(int number) {
    CodePageTables tables;
    tables.number = number;
    tables.iconvName = "CP" + std::to_string(number);
    Converter toUtf8("UTF-8", tables.iconvName);
    if (!toUtf8.ok() || !Converter(tables.iconvName, "UTF-8").ok()) return std::nullopt;
    static const locale_t unicode = ::newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    for (int b = 0; b < 256; ++b) {
        const char byte = static_cast<char>(b);
        std::string_view in(&byte, 1);
        std::string utf8;
        tables.undefined[b] = !toUtf8.convert(in, utf8) || utf8.empty();
        tables.upper[b] = static_cast<unsigned char>(b);
        std::size_t length = 0;
        const std::optional<char32_t> cp = tables.undefined[b] ? std::nullopt : firstCharacter(utf8, length);
        if (!cp || unicode == static_cast<locale_t>(nullptr)) continue;
        const auto upper = static_cast<char32_t>(::towupper_l(static_cast<wint_t>(*cp), unicode));
        std::string upperUtf8;
        std::string upperByte;
        appendUtf8(upperUtf8, upper);
        if (upper != *cp && encode(tables, upperUtf8, upperByte, true) && upperByte.size() == 1)
            tables.upper[b] = static_cast<unsigned char>(upperByte[0]);
    }
    return tables;
}

CodePageTables& current() {
    static CodePageTables tables = tablesOf(1252).value_or(CodePageTables{});
    return tables;
}

int lineAt(std::string_view text, std::size_t position) {
    int line = 1;
    for (std::size_t i = 0; i < position && i < text.size(); ++i) {
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n'))) ++line;
    }
    return line;
}

}  // namespace

int codePageOfLocale(std::string_view localeName) {
    const std::string_view language = localeName.substr(0, localeName.find_first_of("_.@"));
    if (language == "sr") return localeName.find("@latin") != std::string_view::npos ? 1250 : 1251;
    for (const LanguageCodePage& entry : kLanguageCodePages)
        if (entry.language == language) return entry.codePage;
    return 1252;
}

bool setCodePage(int codePage) {
    std::optional<CodePageTables> tables = tablesOf(codePage);
    if (!tables) return false;
    current() = std::move(*tables);
    return true;
}

int codePage() { return current().number; }

void setCodePageOfProcessLocale() {
    const char* locale = ::setlocale(LC_CTYPE, nullptr);
    setCodePage(codePageOfLocale(locale ? locale : "C"));
}

std::string utf8FromAnsi(std::string_view bytes) { return decode(current(), bytes); }

std::string ansiFromUtf8(std::string_view utf8) {
    std::string out;
    encode(current(), utf8, out, false);
    return out;
}

bool ansiCanHold(std::string_view utf8) {
    std::string out;
    return encode(current(), utf8, out, true);
}

unsigned char ansiUpperCase(unsigned char c) { return current().upper[c]; }

std::string fileTextInCodePage(std::string bytes, const std::string& path) {
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (!std::string_view(bytes).starts_with(kByteOrderMark)) return bytes;
    const std::string_view utf8 = std::string_view(bytes).substr(kByteOrderMark.size());
    std::string text;
    std::size_t failedAt = 0;
    bool malformed = false;
    if (encode(current(), utf8, text, true, &failedAt, &malformed)) return text;
    throw UnheldCharacterError(path, lineAt(utf8, failedAt), malformed);
}

UnheldCharacterError::UnheldCharacterError(const std::string& path, int line, bool malformed)
    : Error("Line " + std::to_string(line) + " of \"" + path.substr(path.rfind('/') + 1) + "\" " +
            (malformed ? std::string("is not UTF-8 text, as the file's byte-order mark says it is.")
                       : "holds a character that code page " + std::to_string(codePage()) + " cannot hold.")),
      line_(line) {}

}  // namespace runtime
