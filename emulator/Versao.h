#pragma once

// The emulated device's version information, once: its library's ELF section
// (VersaoArquivo_linux.cpp), its version resource (VersaoArquivo_windows.rc,
// which the resource compiler reads through the C preprocessor) and satemu.
// Written without blanks: the ELF section holds them as text.
// clang-format off
#define EMULADOR_VERSAO_NUMEROS 1,0,2,15
// clang-format on
#define EMULADOR_VERSAO "1.0.2.15"
#define EMULADOR_EMPRESA "Tivoro Telecomunicacoes e Informatica S/A"
#define EMULADOR_DESCRICAO "Biblioteca do SAT KT-470e (emulador)"
#define EMULADOR_PRODUTO "SAT KT-470e"
#define EMULADOR_EDICAO "SAT EMULADO"
// Brazilian Portuguese, Windows-1252: the block of the strings, and the
// translation as numbers and as the tool's reader writes it.
#define EMULADOR_BLOCO "041604E4"
#define EMULADOR_TRADUCAO 0x0416, 1252
#define EMULADOR_TRADUCAO_TEXTO "0416 04E4"

#ifndef RC_INVOKED
namespace emulador {
inline constexpr const char* Versao = EMULADOR_VERSAO;
}
#endif
