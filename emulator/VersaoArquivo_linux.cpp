// The version information the tool reads from the library, in the form the
// tool's reader documents: the maker's name and the file version. SpecialBuild
// ("how this build differs from the standard one") tells the tool, and anyone
// running `readelf -p .versioninfo`, that this is no device.
#include "emulator/Versao.h"

#define EMULADOR_TEXTO(...) #__VA_ARGS__
#define EMULADOR_NUMEROS(...) EMULADOR_TEXTO(__VA_ARGS__)
#define EMULADOR_CHAVE "\\StringFileInfo\\" EMULADOR_BLOCO "\\"

__attribute__((section(".versioninfo"), used)) static const char VersaoArquivo[] =
    "\\=" EMULADOR_NUMEROS(EMULADOR_VERSAO_NUMEROS) "\n"
    "\\VarFileInfo\\Translation=" EMULADOR_TRADUCAO_TEXTO "\n"
    EMULADOR_CHAVE "CompanyName=" EMULADOR_EMPRESA "\n"
    EMULADOR_CHAVE "FileDescription=" EMULADOR_DESCRICAO "\n"
    EMULADOR_CHAVE "FileVersion=" EMULADOR_VERSAO "\n"
    EMULADOR_CHAVE "ProductName=" EMULADOR_PRODUTO "\n"
    EMULADOR_CHAVE "ProductVersion=" EMULADOR_VERSAO "\n"
    EMULADOR_CHAVE "SpecialBuild=" EMULADOR_EDICAO "\n";
