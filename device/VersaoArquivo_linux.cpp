#include <elf.h>

#include <QFile>
#include <QHash>
#include <cerrno>
#include <cstring>
#include <optional>

#include "device/VersaoArquivo.h"

namespace {

constexpr const char* NomeSecao = ".versioninfo";
constexpr qint64 TamanhoMaximoSecao = qint64(64) * 1024;

ErroSistemaOperacional erroDe(int codigo, const QString& falta) {
    return ErroSistemaOperacional(codigo, QString::fromLocal8Bit(std::strerror(codigo)), falta);
}

QString faltaDe(int codigo) {
    switch (codigo) {
        case ENOENT:
            return QStringLiteral("o arquivo não existe");
        case EACCES:
            return QStringLiteral("sem permissão de leitura do arquivo");
        case ENOEXEC:
            return QStringLiteral("não é um arquivo ELF de 32 ou 64 bits legível");
        default:
            return QStringLiteral(
                "sem a seção .versioninfo (a informação de versão do "
                "arquivo)");
    }
}

template <typename T>
bool ler(QFile& arquivo, qint64 posicao, T& destino) {
    return arquivo.seek(posicao) &&
           arquivo.read(reinterpret_cast<char*>(&destino), sizeof destino) == sizeof destino;
}

// Bytes of the section, or the errno-style reason why there are none.
template <typename Ehdr, typename Shdr>
QByteArray secaoElf(QFile& arquivo, int& erro) {
    Ehdr cab{};
    Shdr nomes{};
    if (!ler(arquivo, 0, cab) || cab.e_shentsize != sizeof(Shdr) || cab.e_shstrndx >= cab.e_shnum ||
        !ler(arquivo, qint64(cab.e_shoff) + qint64(cab.e_shstrndx) * sizeof(Shdr), nomes)) {
        erro = ENOEXEC;
        return {};
    }
    for (unsigned i = 0; i < cab.e_shnum; ++i) {
        Shdr secao{};
        char nome[sizeof ".versioninfo"] = {};
        if (!ler(arquivo, qint64(cab.e_shoff) + qint64(i) * sizeof(Shdr), secao) ||
            !arquivo.seek(qint64(nomes.sh_offset) + secao.sh_name))
            break;
        arquivo.read(nome, sizeof nome);
        if (std::strncmp(nome, NomeSecao, sizeof nome) != 0) continue;
        if (secao.sh_type == SHT_NOBITS || secao.sh_size == 0 ||
            qint64(secao.sh_size) > TamanhoMaximoSecao)
            break;
        if (!arquivo.seek(qint64(secao.sh_offset))) break;
        QByteArray dados = arquivo.read(qint64(secao.sh_size));
        if (dados.size() != qint64(secao.sh_size)) break;
        return dados;
    }
    erro = ENODATA;
    return {};
}

QByteArray lerSecao(const QString& caminho, int& erro) {
    QFile arquivo(caminho);
    if (!arquivo.open(QIODevice::ReadOnly)) {
        erro = arquivo.error() == QFileDevice::OpenError && !arquivo.exists() ? ENOENT : EACCES;
        return {};
    }
    const QByteArray ident = arquivo.read(EI_NIDENT);
    if (ident.size() != EI_NIDENT || !ident.startsWith(ELFMAG) || ident[EI_DATA] != ELFDATA2LSB) {
        erro = ENOEXEC;
        return {};
    }
    if (ident[EI_CLASS] == ELFCLASS64) return secaoElf<Elf64_Ehdr, Elf64_Shdr>(arquivo, erro);
    if (ident[EI_CLASS] == ELFCLASS32) return secaoElf<Elf32_Ehdr, Elf32_Shdr>(arquivo, erro);
    erro = ENOEXEC;
    return {};
}

// The section's entries, as the version-resource queries see them.
class Recurso {
  public:
    explicit Recurso(QByteArray dados) {
        const qsizetype fimTexto = dados.indexOf('\0');
        if (fimTexto >= 0) dados.truncate(fimTexto);
        for (const QByteArray& linha : dados.split('\n')) {
            const qsizetype igual = linha.indexOf('=');
            if (igual > 0)
                m_valores.insert(QString::fromUtf8(linha.left(igual)),
                                 QString::fromUtf8(linha.mid(igual + 1)));
        }
    }
    // A trailing backslash names the same block, as in a version-resource query.
    std::optional<QString> consultar(QString chave) const {
        while (chave.size() > 1 && chave.endsWith('\\')) chave.chop(1);
        const auto it = m_valores.find(chave);
        if (it == m_valores.end()) return std::nullopt;
        return *it;
    }

  private:
    QHash<QString, QString> m_valores;
};

}  // namespace

QString textoArquivo(const QString& arquivo, const QString& nome) {
    int erro = 0;
    const QByteArray dados = lerSecao(arquivo, erro);
    if (dados.isEmpty()) throw erroDe(erro ? erro : ENODATA, faltaDe(erro ? erro : ENODATA));
    const Recurso recurso(dados);
    const QString traducao = recurso.consultar("\\VarFileInfo\\Translation\\").value_or("");
    const QStringList partes = traducao.split(' ', Qt::SkipEmptyParts);
    bool idiomaOk = false, paginaOk = false;
    const uint idioma = partes.value(0).toUInt(&idiomaOk, 16);
    const uint pagina = partes.value(1).toUInt(&paginaOk, 16);
    if (partes.size() < 2 || !idiomaOk || !paginaOk || idioma > 0xFFFF || pagina > 0xFFFF)
        throw erroDe(ENODATA, QStringLiteral("sem a entrada \\VarFileInfo\\Translation na seção "
                                             ".versioninfo"));
    const QString bloco = QStringLiteral("%1%2")
                              .arg(idioma, 4, 16, QLatin1Char('0'))
                              .arg(pagina, 4, 16, QLatin1Char('0'))
                              .toUpper();
    return recurso.consultar("\\StringFileInfo\\" + bloco + "\\" + nome).value_or(QString());
}

QString VersaoArquivo(const QString& arquivo) {
    int erro = 0;
    const QStringList numeros =
        Recurso(lerSecao(arquivo, erro)).consultar("\\").value_or("").split(',');
    QStringList partes;
    for (int i = 0; i < 4; ++i) partes << QString::number(numeros.value(i).trimmed().toUShort());
    return partes.join('.');
}
