#include "lang/code_pages.h"

#include <iconv.h>

#include <cerrno>

#include "lang/text_codec.h"

namespace zentrik::lang {

int language_code_page(int language_id) {
    const int primary = language_id & 0x3FF;
    const int sub = (language_id >> 10) & 0x3F;
    switch (primary) {
        case 0x11:
            return 932;  // Japanese
        case 0x04:  // Chinese: Taiwan, Hong Kong and Macau write Traditional, the others Simplified
            return sub == 1 || sub == 3 || sub == 5 ? 950 : 936;
        case 0x12:
            return 949;  // Korean
        case 0x1E:
            return 874;  // Thai
        case 0x2A:
            return 1258;  // Vietnamese
        case 0x08:
            return 1253;  // Greek
        case 0x1F:
            return 1254;  // Turkish
        case 0x0D:
            return 1255;  // Hebrew
        case 0x01:
        case 0x29:
        case 0x20:
            return 1256;  // Arabic, Persian, Urdu
        case 0x25:
        case 0x26:
        case 0x27:
            return 1257;  // Estonian, Latvian, Lithuanian
        case 0x05:
        case 0x0E:
        case 0x15:
        case 0x18:
        case 0x1B:
        case 0x1C:
        case 0x24:
            return 1250;  // Czech, Hungarian, Polish, Romanian, Slovak, Albanian, Slovenian
        case 0x1A:  // Croatian, Serbian and Bosnian: Latin, or Cyrillic in sublanguages 3, 7, 8
            return sub == 3 || sub == 7 || sub == 8 ? 1251 : 1250;
        case 0x43:
        case 0x2C:  // Uzbek and Azeri: Latin (Turkish letters) or Cyrillic
            return sub == 2 ? 1251 : 1254;
        case 0x02:
        case 0x19:
        case 0x22:
        case 0x23:
        case 0x2F:
        case 0x3F:
        case 0x40:
        case 0x44:
        case 0x50:
            return 1251;  // Bulgarian, Russian, Ukrainian, Belarusian, Macedonian, Kazakh,
                          // Kyrgyz, Tatar, Mongolian
        default:
            return 1252;
    }
}

CodePageDecoder::~CodePageDecoder() {
    for (auto& [page, cd] : converters_)
        if (cd)
            iconv_close(static_cast<iconv_t>(cd));
}

void* CodePageDecoder::converter(int code_page) {
    if (auto it = converters_.find(code_page); it != converters_.end())
        return it->second;
    const std::string name = "CP" + std::to_string(code_page);  // glibc's names: CP1252, CP932
    iconv_t cd = iconv_open("UTF-8", name.c_str());
    void* kept = cd == reinterpret_cast<iconv_t>(-1) ? nullptr : static_cast<void*>(cd);
    converters_.emplace(code_page, kept);
    return kept;
}

std::string CodePageDecoder::to_utf8(std::string_view bytes, int code_page) {
    std::string out;
    auto cd = static_cast<iconv_t>(converter(code_page));
    if (!cd) {
        for (char c : bytes)
            append_utf8(out, static_cast<unsigned char>(c));
        return out;
    }
    iconv(cd, nullptr, nullptr, nullptr, nullptr);  // a fresh shift state for each text
    out.reserve(bytes.size() * 2);
    char buffer[1024];
    char* in = const_cast<char*>(bytes.data());
    std::size_t in_left = bytes.size();
    while (in_left > 0) {
        char* put = buffer;
        std::size_t room = sizeof buffer;
        const std::size_t done = iconv(cd, &in, &in_left, &put, &room);
        out.append(buffer, static_cast<std::size_t>(put - buffer));
        if (done != static_cast<std::size_t>(-1) || errno == E2BIG)
            continue;
        // EILSEQ or EINVAL (a lead byte at the end): that byte as Latin-1, then go on.
        append_utf8(out, static_cast<unsigned char>(*in));
        ++in;
        --in_left;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    return out;
}

}  // namespace zentrik::lang
