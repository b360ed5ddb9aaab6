// Writes src/core/cp932_tables.cpp from what glibc iconv ("CP932", Microsoft's mapping) says
// about every single byte and every lead/trail pair. Run by hand; see README.md beside this file.
//
// The codec relies on a few properties of the mapping; the generator checks them and refuses to
// write tables that break them: bytes 0x00-0x7F are ASCII, every character is one UTF-16 unit,
// only the usual lead bytes start double-byte characters, and among the codes that decode to the
// same character exactly one is the one iconv's encoder produces.

#include <iconv.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int kTrailFirst = 0x40;
constexpr int kTrailLast = 0xFC;
constexpr int kTrailCount = kTrailLast - kTrailFirst + 1;

[[noreturn]] void fail(const std::string& why) {
    std::fprintf(stderr, "cp932gen: %s\n", why.c_str());
    std::exit(1);
}

std::string hex(unsigned v, int digits) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%0*X", digits, v);
    return buf;
}

bool isLead(int b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

class Converter {
public:
    Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {
        if (m_cd == reinterpret_cast<iconv_t>(-1))
            fail(std::string("iconv_open ") + from + " -> " + to + " failed");
    }
    ~Converter() { iconv_close(m_cd); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // The whole input converted, or nothing when iconv refuses any of it.
    std::optional<std::string> convert(const std::string& in) {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        std::string inCopy = in;
        char* inPtr = inCopy.data();
        size_t inLeft = inCopy.size();
        char out[32];
        char* outPtr = out;
        size_t outLeft = sizeof out;
        if (iconv(m_cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1) ||
            inLeft != 0)
            return std::nullopt;
        if (iconv(m_cd, nullptr, nullptr, &outPtr, &outLeft) == static_cast<size_t>(-1))
            return std::nullopt;
        return std::string(out, outPtr);
    }

private:
    iconv_t m_cd;
};

// Decodes CP932 bytes to exactly one UTF-16 unit, or nothing.
std::optional<uint16_t> decodeOne(Converter& dec, const std::string& bytes) {
    auto out = dec.convert(bytes);
    if (!out) return std::nullopt;
    if (out->size() != 2)
        fail("a CP932 code decodes to " + std::to_string(out->size() / 2) + " UTF-16 units");
    return static_cast<uint16_t>(static_cast<unsigned char>((*out)[0]) |
                                 static_cast<unsigned char>((*out)[1]) << 8);
}

// The CP932 code iconv's encoder produces for one unit (one or two bytes as a number), or nothing.
std::optional<uint16_t> encodeOne(Converter& enc, uint16_t unit) {
    std::string in{static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
    auto out = enc.convert(in);
    if (!out) return std::nullopt;
    if (out->size() == 1) return static_cast<unsigned char>((*out)[0]);
    if (out->size() == 2)
        return static_cast<uint16_t>(static_cast<unsigned char>((*out)[0]) << 8 |
                                     static_cast<unsigned char>((*out)[1]));
    fail("U+" + hex(unit, 4) + " encodes to " + std::to_string(out->size()) + " bytes");
}

struct Tables {
    uint16_t singleByte[128] = {};                         // bytes 0x80-0xFF
    std::map<int, std::vector<uint16_t>> rows;             // lead byte -> unit per trail 0x40-0xFC
    std::map<uint16_t, std::vector<uint16_t>> codesOfUnit; // unit -> every code decoding to it
    std::map<uint16_t, uint16_t> duplicates;               // code -> preferred code
    std::map<uint16_t, uint16_t> encodeExtras;             // unit no code decodes to -> code
};

Tables ask() {
    Converter dec("UTF-16LE", "CP932");
    Converter enc("CP932", "UTF-16LE");
    Tables t;

    for (int b = 0; b < 0x100; ++b) {
        auto unit = decodeOne(dec, std::string(1, static_cast<char>(b)));
        if (b < 0x80) {
            if (!unit || *unit != b) fail("byte " + hex(b, 2) + " is not ASCII");
            continue;
        }
        if (unit && isLead(b)) fail("lead byte " + hex(b, 2) + " decodes on its own");
        if (unit) {
            t.singleByte[b - 0x80] = *unit;
            t.codesOfUnit[*unit].push_back(static_cast<uint16_t>(b));
        }
    }

    for (int lead = 0x80; lead < 0x100; ++lead) {
        std::vector<uint16_t> row(kTrailCount, 0);
        bool any = false;
        for (int trail = 0; trail < 0x100; ++trail) {
            std::string bytes{static_cast<char>(lead), static_cast<char>(trail)};
            auto out = dec.convert(bytes);
            // Two units from two bytes is simply two single-byte characters.
            bool pair = out && out->size() == 2;
            if (!pair) continue;
            if (!isLead(lead) || trail < kTrailFirst || trail > kTrailLast)
                fail("unexpected double-byte code " + hex(lead << 8 | trail, 4));
            uint16_t unit = static_cast<uint16_t>(static_cast<unsigned char>((*out)[0]) |
                                                  static_cast<unsigned char>((*out)[1]) << 8);
            if (unit == 0 || (unit >= 0xD800 && unit <= 0xDFFF))
                fail("code " + hex(lead << 8 | trail, 4) + " decodes to U+" + hex(unit, 4));
            row[trail - kTrailFirst] = unit;
            t.codesOfUnit[unit].push_back(static_cast<uint16_t>(lead << 8 | trail));
            any = true;
        }
        if (any) t.rows[lead] = row;
    }

    for (const auto& [unit, codes] : t.codesOfUnit) {
        auto preferred = encodeOne(enc, unit);
        if (!preferred) fail("U+" + hex(unit, 4) + " decodes but does not encode");
        bool found = false;
        for (uint16_t code : codes)
            found = found || code == *preferred;
        if (!found)
            fail("U+" + hex(unit, 4) + " encodes to " + hex(*preferred, 4) +
                 ", which does not decode to it");
        for (uint16_t code : codes)
            if (code != *preferred) t.duplicates[code] = *preferred;
    }

    for (uint32_t unit = 0x80; unit < 0x10000; ++unit) {
        if ((unit >= 0xD800 && unit <= 0xDFFF) || t.codesOfUnit.count(static_cast<uint16_t>(unit)))
            continue;
        if (auto code = encodeOne(enc, static_cast<uint16_t>(unit)))
            t.encodeExtras[static_cast<uint16_t>(unit)] = *code;
    }
    return t;
}

template <typename Range, typename Fn>
void writeList(std::ostream& out, const Range& items, int perLine, const std::string& indent,
               Fn fmt) {
    int n = 0;
    for (const auto& item : items) {
        out << (n % perLine == 0 ? indent : " ") << fmt(item) << ",";
        if (++n % perLine == 0) out << "\n";
    }
    if (n % perLine != 0) out << "\n";
}

void write(const Tables& t, const std::string& path) {
    std::ostringstream out;
    out << "// Generated by tools/cp932gen from glibc iconv \"CP932\". Do not edit; rerun the "
           "generator.\n"
           "// clang-format off\n\n"
           "#include \"core/cp932_tables.h\"\n\n"
           "namespace pote::cp932::tables {\n\n";

    out << "const char16_t singleByte[128] = {\n";
    writeList(out, t.singleByte, 8, "    ", [](uint16_t u) { return hex(u, 4); });
    out << "};\n\n";

    std::vector<int> rowOfLead(256, 0xFF);
    int r = 0;
    for (const auto& [lead, row] : t.rows)
        rowOfLead[lead] = r++;
    out << "const unsigned char rowOfLead[256] = {\n";
    writeList(out, rowOfLead, 16, "    ", [](int v) { return hex(v, 2); });
    out << "};\n\n";

    out << "const char16_t rows[" << t.rows.size() << "][kTrailCount] = {\n";
    for (const auto& [lead, row] : t.rows) {
        out << "    { // lead " << hex(lead, 2) << "\n";
        writeList(out, row, 12, "        ", [](uint16_t u) { return hex(u, 4); });
        out << "    },\n";
    }
    out << "};\n"
        << "const int rowCount = " << t.rows.size() << ";\n\n";

    out << "static const CodePair duplicateList[] = {\n";
    writeList(out, t.duplicates, 4, "    ", [](const auto& kv) {
        return "{" + hex(kv.first, 4) + ", " + hex(kv.second, 4) + "}";
    });
    out << "};\n"
           "const std::span<const CodePair> duplicates{duplicateList};\n\n";

    out << "static const CodePair encodeExtraList[] = {\n";
    writeList(out, t.encodeExtras, 4, "    ", [](const auto& kv) {
        return "{" + hex(kv.first, 4) + ", " + hex(kv.second, 4) + "}";
    });
    out << "};\n"
           "const std::span<const CodePair> encodeExtras{encodeExtraList};\n\n"
           "} // namespace pote::cp932::tables\n";

    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << out.str();
    file.close();
    if (!file) fail("cannot write " + path);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: cp932gen <output cp932_tables.cpp>\n");
        return 2;
    }
    Tables t = ask();
    write(t, argv[1]);
    size_t codes = 0;
    for (const auto& [unit, list] : t.codesOfUnit)
        codes += list.size();
    std::printf("%zu codes (%zu lead rows), %zu duplicates, %zu encode-only units\n", codes,
                t.rows.size(), t.duplicates.size(), t.encodeExtras.size());
    return 0;
}
