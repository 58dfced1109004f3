#pragma once
// Legacy 8-bit text: the Windows code page a language's files were written in, and decoding
// such text into UTF-8 with the C library's iconv.
#include <map>
#include <string>
#include <string_view>

namespace zentrik::lang {

// The code page of a language id's primary language (the low 10 bits; for Chinese, Serbian,
// Bosnian, Uzbek and Azeri the script as well): 932 Japanese, 936 Simplified and 950
// Traditional Chinese, 949 Korean, 1250 Central European, 1251 Cyrillic, 1253 Greek,
// 1254 Turkish, 1255 Hebrew, 1256 Arabic, 1257 Baltic, 1258 Vietnamese, 874 Thai, and 1252 for
// Western and every other language.
int language_code_page(int language_id);

// Decodes 8-bit text in Windows code pages into UTF-8, keeping one converter per code page for
// the texts that follow. A byte that does not decode is read as its Latin-1 character, so
// nothing after it is lost; a code page the C library lacks reads every byte that way.
class CodePageDecoder {
  public:
    CodePageDecoder() = default;
    ~CodePageDecoder();
    CodePageDecoder(const CodePageDecoder&) = delete;
    CodePageDecoder& operator=(const CodePageDecoder&) = delete;

    std::string to_utf8(std::string_view bytes, int code_page);

  private:
    void* converter(int code_page);
    std::map<int, void*> converters_;  // iconv_t by code page; null when it cannot be opened
};

}  // namespace zentrik::lang
