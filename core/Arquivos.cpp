#include "core/Arquivos.h"

#include <algorithm>

#include "core/ArquivoSistema.h"

namespace {
using Falha = ResultadoArquivo::Falha;

ResultadoArquivo falhou(Falha falha, const QString& motivo) {
    ResultadoArquivo r;
    r.falha = falha;
    r.motivo = motivo;
    return r;
}

// Reads up to `limite` + 1 bytes, so that a file that grew past its size
// shows it; room for the size found first, for the rest only when it comes.
bool lerAte(ArquivoSistema& arquivo, qint64 limite, QByteArray& dados) {
    dados.resize(std::min(arquivo.tamanho(), limite) + 1);
    qint64 lidos = 0;
    while (lidos <= limite) {
        if (lidos == dados.size()) dados.resize(limite + 1);
        const qint64 n = arquivo.ler(dados.data() + lidos, dados.size() - lidos);
        if (n < 0) return false;
        if (n == 0) break;
        lidos += n;
    }
    dados.resize(lidos);
    return true;
}
}  // namespace

ResultadoArquivo lerArquivoComum(const QString& caminho, qint64 limite) {
    ArquivoSistema arquivo;
    if (!arquivo.abrir(caminho, ArquivoSistema::Modo::Ler))
        return falhou(Falha::NaoAbriu, arquivo.erro());
    ResultadoArquivo r;
    const bool lido = arquivo.tamanho() <= limite && lerAte(arquivo, limite, r.dados);
    r.tamanho = std::max(arquivo.tamanho(), qint64(r.dados.size()));
    if (r.tamanho > limite) {
        r.falha = Falha::GrandeDemais;
        r.dados.clear();
    } else if (!lido) {
        r = falhou(Falha::NaoAbriu, arquivo.erro());
    }
    return r;
}

ResultadoArquivo acrescentarArquivoComum(const QString& caminho, const QByteArray& dados) {
    ArquivoSistema arquivo;
    if (!arquivo.abrir(caminho, ArquivoSistema::Modo::Acrescentar))
        return falhou(Falha::NaoAbriu, arquivo.erro());
    if (arquivo.gravarTudo(dados.constData(), dados.size())) {
        ResultadoArquivo r;
        r.tamanho = arquivo.tamanho();
        return r;
    }
    ResultadoArquivo r = falhou(Falha::NaoGravou, arquivo.erro());
    // Nothing half-written stays behind.
    if (!arquivo.truncar(arquivo.tamanho()))
        r.motivo += QStringLiteral(" (parte do que foi gravado ficou no arquivo)");
    return r;
}
