#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace slownik::banking {

//! Code pages a branch file may be written in.
enum class CodePage { Cp852, Cp1250, Utf8 };

//! The code page a dBase header's language-driver byte declares; nullopt when the byte
//! names none we know (0 = not declared).
std::optional<CodePage> codePageFromLanguageDriver(unsigned char driver);
//! The language-driver byte a writer puts into the header for `page` (0 for UTF-8,
//! which dBase has no driver for: such files carry a .cpg file beside them).
unsigned char languageDriverOf(CodePage page);
//! The code page a .cpg file beside the table names ("852", "CP1250", "UTF-8", …);
//! nullopt for anything else.
std::optional<CodePage> codePageFromCpg(std::string_view cpgText);

//! Bytes of `page` as UTF-8. Bytes with no character in the page, and broken UTF-8
//! sequences, become U+FFFD, so the result is always valid UTF-8.
std::string decodeToUtf8(std::string_view bytes, CodePage page);
//! UTF-8 text in `page`; characters the page lacks become '?'. For writing files.
std::string encodeFromUtf8(std::string_view utf8, CodePage page);

}  // namespace slownik::banking
