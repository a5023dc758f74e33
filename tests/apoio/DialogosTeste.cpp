#include "tests/apoio/DialogosTeste.h"

#include <QThread>

void DialogosTeste::mensagem(Icone icone, const QString& texto) {
    {
        QMutexLocker trava(&m_mutex);
        m_caixas.append({icone, QString::fromLatin1(TituloAplicacao), texto});
        if (!m_segurar) return;
    }
    m_fechar.acquire();
}

void DialogosTeste::segurarCaixas() {
    QMutexLocker trava(&m_mutex);
    m_segurar = true;
}

void DialogosTeste::fechar() {
    m_fechar.release();
}

QString DialogosTeste::abrirArquivo(const Arquivo& dialogo) {
    return proximaResposta(dialogo);
}

QString DialogosTeste::salvarArquivo(const Arquivo& dialogo) {
    return proximaResposta(dialogo);
}

void DialogosTeste::abrirEndereco(const QUrl& endereco) {
    QMutexLocker trava(&m_mutex);
    m_enderecos.append(endereco);
}

QList<QUrl> DialogosTeste::enderecos() const {
    QMutexLocker trava(&m_mutex);
    return m_enderecos;
}

QString DialogosTeste::proximaResposta(const Arquivo& dialogo) {
    QMutexLocker trava(&m_mutex);
    m_dialogos.append(dialogo);
    return m_respostas.isEmpty() ? QString() : m_respostas.takeFirst();
}

QList<DialogosTeste::Caixa> DialogosTeste::caixas() const {
    QMutexLocker trava(&m_mutex);
    return m_caixas;
}

DialogosTeste::Caixa DialogosTeste::ultima() const {
    QMutexLocker trava(&m_mutex);
    return m_caixas.isEmpty() ? Caixa{Icone::Nenhum, {}, {}} : m_caixas.constLast();
}

void DialogosTeste::limpar() {
    QMutexLocker trava(&m_mutex);
    m_caixas.clear();
    m_respostas.clear();
    m_dialogos.clear();
    m_enderecos.clear();
}

void DialogosTeste::responderArquivo(const QString& caminho) {
    QMutexLocker trava(&m_mutex);
    m_respostas.append(caminho);
}

QList<PortaDialogos::Arquivo> DialogosTeste::dialogosArquivo() const {
    QMutexLocker trava(&m_mutex);
    return m_dialogos;
}

void RelogioTeste::pausa(int ms) {
    {
        QMutexLocker trava(&m_mutex);
        m_pausas.append(ms);
    }
    if (ms > 0) QThread::usleep(static_cast<unsigned long>(ms) * 1000 / m_divisor);
}

QList<int> RelogioTeste::pausas() const {
    QMutexLocker trava(&m_mutex);
    return m_pausas;
}

void RelogioTeste::limpar() {
    QMutexLocker trava(&m_mutex);
    m_pausas.clear();
}
