#include "tests/setup/Roteiro.h"

Roteiro* Roteiro::s_atual = nullptr;

QByteArray respostas::status(const QByteArray& serie) {
    return "1|10000|Resposta com Sucesso|||" + serie +
           "|DHCP|010.000.000.108|30:40:03:19:19:40|255.255.255.000|010.000.000.001|"
           "010.000.000.001|010.000.000.001|CONECTADO|ALTO|4 GB|260 MB|20150912113321|"
           "01.00.00|00.07|||||20150912113039|20150708|20200708|0";
}

Roteiro::Roteiro(const char* caminhoDll, const EstadoSessao* estado)
    : m_dll(QString::fromLocal8Bit(caminhoDll)), m_estado(estado) {
    s_atual = this;
    m_dll.roteiro(&Roteiro::atender);
}

Roteiro::~Roteiro() {
    m_dll.roteiro(nullptr);
    s_atual = nullptr;
}

void Roteiro::definir(const QString& funcao, const QList<QByteArray>& respostas) {
    QMutexLocker trava(&m_mutex);
    m_respostas.insert(funcao, respostas);
}

void Roteiro::quando(const QString& funcao, int n, std::function<void()> acao) {
    QMutexLocker trava(&m_mutex);
    std::function<void()>& atual = m_acoes[funcao + '#' + QString::number(n)];
    atual = atual ? [antes = atual, acao] {
        antes();
        acao();
    }
                  : acao;
}

QList<Roteiro::Chamada> Roteiro::chamadas() const {
    QMutexLocker trava(&m_mutex);
    return m_chamadas;
}

QStringList Roteiro::funcoes() const {
    QStringList nomes;
    for (const Chamada& c : chamadas()) nomes << c.funcao;
    return nomes;
}

const char* Roteiro::atender(const char* funcao, const int* inteiros, const char* const* textos) {
    // The binding copies the reply before this thread calls again.
    thread_local QByteArray texto;
    texto = s_atual->resposta(QString::fromLatin1(funcao), inteiros, textos);
    return texto.constData();
}

QByteArray Roteiro::resposta(const QString& funcao, const int* inteiros,
                             const char* const* textos) {
    Chamada c{funcao,
              inteiros[0],
              {},
              funcao == QLatin1String("AtivarSAT") ? inteiros[4] : 0,
              m_estado->EtapaSetup(),
              QThread::currentThread()};
    for (int i = 1; i <= 4; ++i) c.textos << (textos[i] ? QByteArray(textos[i]) : QByteArray());
    std::function<void()> acao;
    QByteArray texto;
    {
        QMutexLocker trava(&m_mutex);
        m_chamadas << c;
        const int n = static_cast<int>(
            std::count_if(m_chamadas.cbegin(), m_chamadas.cend(),
                          [&](const Chamada& outra) { return outra.funcao == funcao; }));
        acao = m_acoes.take(funcao + '#' + QString::number(n));
        QList<QByteArray>& fila = m_respostas[funcao];
        if (fila.isEmpty()) {
            static const QHash<QString, QByteArray> padrao{
                {"ConsultarSAT", respostas::Conectado},
                {"AtivarSAT", respostas::Ativado},
                {"AssociarAssinatura", respostas::Associado},
                {"TesteFimAFim", respostas::Testado},
                {"ConsultarStatusOperacional", respostas::status("900004019")}};
            texto = padrao.value(funcao, respostas::Conectado);
        } else {
            texto = fila.size() > 1 ? fila.takeFirst() : fila.constFirst();
        }
    }
    if (acao) acao();
    return texto;
}
