#ifndef SAT_TEXTO_WINDOWS_H
#define SAT_TEXTO_WINDOWS_H

// Texts are UTF-8 inside every program of ours and UTF-16 at every Windows
// call: the two conversions, for the programs without Qt.

#include <windows.h>

#include <string>

namespace sat {

// Empty when the text is not valid UTF-8.
inline std::wstring utf16(const std::string& texto) {
    if (texto.empty()) return {};
    const int n = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, texto.data(),
                                        int(texto.size()), nullptr, 0);
    if (n <= 0) return {};
    std::wstring r(std::size_t(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, texto.data(), int(texto.size()), r.data(), n);
    return r;
}

// tamanho -1: up to the closing null.
inline std::string utf8(const wchar_t* texto, int tamanho = -1) {
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, texto, tamanho, nullptr, 0, nullptr, nullptr);
    if (n <= 0) return {};
    std::string r(std::size_t(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, texto, tamanho, r.data(), n, nullptr, nullptr);
    if (tamanho < 0) r.pop_back();
    return r;
}

inline std::string utf8(const std::wstring& texto) {
    return utf8(texto.data(), int(texto.size()));
}

}  // namespace sat

#endif
