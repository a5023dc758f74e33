// The locale the tests ask for is in force: a locale asked for but not
// generated leaves a program in "C" without a word, and the faults that only
// the Brazilian settings show would pass unseen.
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>

int main() {
    const char* nome = std::setlocale(LC_ALL, "");
    // Windows names it in words.
    const bool brasileira =
        nome && (std::strstr(nome, "pt_BR") || std::strstr(nome, "Portuguese_Brazil")) &&
        std::strcmp(std::localeconv()->decimal_point, ",") == 0;
    if (brasileira) return 0;
    const char* pedida = std::getenv("LANG");
    std::fprintf(stderr,
                 "A localidade %s não está gerada nesta máquina: os testes rodariam em C. "
                 "Gere-a com scripts/preparar.sh.\n",
                 pedida ? pedida : "(LANG vazio)");
    return 1;
}
