#include "emulator/Controle.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QtEndian>
#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>
#include <stdexcept>

namespace emulador {

namespace {

constexpr int TrocaPadraoMs = 2000;

qint64 agoraMs() {
    return QDateTime::currentMSecsSinceEpoch();
}

QString serieNova(const QString& diferenteDe = {}) {
    QString serie;
    do {
        serie = QString::number(QRandomGenerator::global()->bounded(100000000, 1000000000));
    } while (serie == diferenteDe);
    return serie;
}

// Held for the whole read-modify-write; flock also excludes other threads of
// this process, as each one opens the file on its own.
class Trava {
  public:
    explicit Trava(const QString& pasta) {
        if (!QDir().mkpath(pasta))
            throw std::runtime_error("N\u00e3o foi poss\u00edvel criar a pasta do emulador: " +
                                     pasta.toStdString());
        const QByteArray caminho = QFile::encodeName(pasta + QStringLiteral("/estado.lock"));
        m_fd = ::open(caminho.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (m_fd < 0 || ::flock(m_fd, LOCK_EX) != 0) {
            if (m_fd >= 0) ::close(m_fd);
            throw std::runtime_error("N\u00e3o foi poss\u00edvel travar " + caminho.toStdString());
        }
    }
    ~Trava() {
        ::flock(m_fd, LOCK_UN);
        ::close(m_fd);
    }
    Trava(const Trava&) = delete;
    Trava& operator=(const Trava&) = delete;

  private:
    int m_fd = -1;
};

// Reads one key, insisting on its type: a state edited by hand into another
// type is corrupt, not silently a default.
class Leitor {
  public:
    explicit Leitor(const QJsonObject& o) : m_o(o) {}
    void texto(const char* chave, QString& destino) {
        if (const auto v = valor(chave, QJsonValue::String)) destino = v->toString();
    }
    void logico(const char* chave, bool& destino) {
        if (const auto v = valor(chave, QJsonValue::Bool)) destino = v->toBool();
    }
    template <typename T>
    void numero(const char* chave, T& destino) {
        const auto v = valor(chave, QJsonValue::Double);
        if (!v) return;
        const double d = v->toDouble();
        // Whole numbers in the type's range only: a cast out of it is undefined.
        if (d != std::floor(d) || d < double(std::numeric_limits<T>::min()) / 2 ||
            d > double(std::numeric_limits<T>::max()) / 2)
            throw std::runtime_error(chave);
        destino = static_cast<T>(d);
    }
    void mapa(const char* chave, QMap<QString, int>& destino) {
        const auto v = valor(chave, QJsonValue::Object);
        if (!v) return;
        const QJsonObject o = v->toObject();
        for (auto it = o.begin(); it != o.end(); ++it) {
            int ms = 0;
            Leitor(QJsonObject{{"v", *it}}).numero("v", ms);
            destino.insert(it.key(), ms);
        }
    }

  private:
    std::optional<QJsonValue> valor(const char* chave, QJsonValue::Type tipo) {
        const QJsonValue v = m_o.value(QLatin1String(chave));
        if (v.isUndefined()) return std::nullopt;
        if (v.type() != tipo) throw std::runtime_error(chave);
        return v;
    }
    QJsonObject m_o;
};

}  // namespace

Estado estadoNovo(const QString& serie) {
    Estado e;
    e.serie = serie;
    // The maker's emergency code is fixed per device.
    const QByteArray semente = "emergencia" + serie.toLatin1();
    const QByteArray h = QCryptographicHash::hash(semente, QCryptographicHash::Sha256);
    e.codigoEmergencia =
        QString::number(qFromBigEndian<quint32>(h.constData()) % 90000000 + 10000000);
    e.versaoSoftware = QStringLiteral("01.00.00");
    e.versaoLayout = QStringLiteral("00.07");
    return e;
}

QByteArray paraJson(const Estado& e) {
    QJsonObject lat;
    for (auto it = e.latenciaPorFuncao.begin(); it != e.latenciaPorFuncao.end(); ++it)
        lat.insert(it.key(), it.value());
    const QJsonObject o{
        {"serie", e.serie},
        {"conectado", e.conectado},
        {"ocupado", e.ocupado},
        {"ocupadoAteMs", double(e.ocupadoAteMs)},
        {"latenciaMs", e.latenciaMs},
        {"latenciaPorFuncao", lat},
        {"reinicioAteMs", double(e.reinicioAteMs)},
        {"reinicioAposMs", e.reinicioAposMs},
        {"ativado", e.ativado},
        {"ativadoEmMs", double(e.ativadoEmMs)},
        {"codigoAtivacao", e.codigoAtivacao},
        {"codigoEmergencia", e.codigoEmergencia},
        {"cnpjContribuinte", e.cnpjContribuinte},
        {"uf", e.uf},
        {"cnpjSoftwareHouse", e.cnpjSoftwareHouse},
        {"assinatura", e.assinatura},
        {"bloqueado", e.bloqueado},
        {"redeXml", e.redeXml},
        {"versaoSoftware", e.versaoSoftware},
        {"versaoLayout", e.versaoLayout},
        {"tamanhoLog", double(e.tamanhoLog)},
        {"ultimaChave", e.ultimaChave},
        {"ultimaVendaMs", double(e.ultimaVendaMs)},
        {"ultimoValor", e.ultimoValor},
        {"chaveCancelada", e.chaveCancelada},
        {"ultimoCFe", e.ultimoCFe},
        {"ultimoCFeMs", double(e.ultimoCFeMs)},
        {"numeroCFe", e.numeroCFe},
        {"diario", e.diario},
    };
    return QJsonDocument(o).toJson(QJsonDocument::Indented);
}

Estado deJson(const QByteArray& json) {
    QJsonParseError erro{};
    const QJsonDocument doc = QJsonDocument::fromJson(json, &erro);
    if (erro.error != QJsonParseError::NoError || !doc.isObject()) throw std::runtime_error("json");
    Leitor l(doc.object());
    Estado e;
    l.texto("serie", e.serie);
    l.logico("conectado", e.conectado);
    l.logico("ocupado", e.ocupado);
    l.numero("ocupadoAteMs", e.ocupadoAteMs);
    l.numero("latenciaMs", e.latenciaMs);
    l.mapa("latenciaPorFuncao", e.latenciaPorFuncao);
    l.numero("reinicioAteMs", e.reinicioAteMs);
    l.numero("reinicioAposMs", e.reinicioAposMs);
    l.logico("ativado", e.ativado);
    l.numero("ativadoEmMs", e.ativadoEmMs);
    l.texto("codigoAtivacao", e.codigoAtivacao);
    l.texto("codigoEmergencia", e.codigoEmergencia);
    l.texto("cnpjContribuinte", e.cnpjContribuinte);
    l.numero("uf", e.uf);
    l.texto("cnpjSoftwareHouse", e.cnpjSoftwareHouse);
    l.texto("assinatura", e.assinatura);
    l.logico("bloqueado", e.bloqueado);
    l.texto("redeXml", e.redeXml);
    l.texto("versaoSoftware", e.versaoSoftware);
    l.texto("versaoLayout", e.versaoLayout);
    l.numero("tamanhoLog", e.tamanhoLog);
    l.texto("ultimaChave", e.ultimaChave);
    l.numero("ultimaVendaMs", e.ultimaVendaMs);
    l.texto("ultimoValor", e.ultimoValor);
    l.texto("chaveCancelada", e.chaveCancelada);
    l.texto("ultimoCFe", e.ultimoCFe);
    l.numero("ultimoCFeMs", e.ultimoCFeMs);
    l.numero("numeroCFe", e.numeroCFe);
    l.logico("diario", e.diario);
    const QRegularExpression nove(QStringLiteral("^[0-9]{9}$"));
    if (!nove.match(e.serie).hasMatch()) throw std::runtime_error("serie");
    return e;
}

QString Controle::pastaPadrao() {
    const QString pasta = qEnvironmentVariable("SAT_EMULADOR_DIR");
    if (!pasta.isEmpty()) return pasta;
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (base.isEmpty()) base = QDir::homePath() + QStringLiteral("/.local/state");
    return base + QStringLiteral("/sat-emulador");
}

Controle::Controle(const QString& pasta) : m_pasta(pasta) {}

QString Controle::arquivoEstado() const {
    return m_pasta + QStringLiteral("/estado.json");
}

QString Controle::arquivoDiario() const {
    return m_pasta + QStringLiteral("/diario.txt");
}

namespace {

// The state in the file, or a factory-new device when there is none yet.
// Throws naming the file when it cannot be read or is not a state.
Estado lerEstado(const QString& arquivo, bool& existia) {
    QFile f(arquivo);
    existia = f.exists();
    if (!existia) return estadoNovo(serieNova());
    if (!f.open(QIODevice::ReadOnly))
        throw std::runtime_error("N\u00e3o foi poss\u00edvel ler o estado do emulador: " +
                                 arquivo.toStdString());
    try {
        return deJson(f.readAll());
    } catch (const std::runtime_error&) {
        throw std::runtime_error("Arquivo de estado do emulador corrompido: " +
                                 arquivo.toStdString());
    }
}

// Write and rename under the lock: readers see the old state or the new one,
// never a part. No flush to the disk: a call must stay well under a
// millisecond, and a device's state need not outlive a power cut.
void gravarEstado(const QString& arquivo, const Estado& e) {
    const QString novo = arquivo + QStringLiteral(".novo");
    QFile f(novo);
    const QByteArray json = paraJson(e);
    const bool escrito = f.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                         f.write(json) == json.size() && f.flush();
    f.close();
    if (!escrito || ::rename(QFile::encodeName(novo).constData(),
                             QFile::encodeName(arquivo).constData()) != 0) {
        QFile::remove(novo);
        throw std::runtime_error("N\u00e3o foi poss\u00edvel gravar o estado do emulador: " +
                                 arquivo.toStdString());
    }
}

}  // namespace

Estado Controle::estado() const {
    Estado e;
    const_cast<Controle*>(this)->alterarSe([&e](Estado& atual) {
        e = atual;
        return false;
    });
    return e;
}

void Controle::alterarSe(const std::function<bool(Estado&)>& mudanca) {
    Trava trava(m_pasta);
    bool existia = false;
    Estado e = lerEstado(arquivoEstado(), existia);
    // A device seen for the first time keeps its serial number from then on.
    if (mudanca(e) || !existia) gravarEstado(arquivoEstado(), e);
}

void Controle::alterar(const std::function<void(Estado&)>& mudanca) {
    alterarSe([&mudanca](Estado& e) {
        mudanca(e);
        return true;
    });
}

void Controle::novo() {
    Trava trava(m_pasta);
    gravarEstado(arquivoEstado(), estadoNovo(serieNova()));
}

void Controle::fabrica() {
    Trava trava(m_pasta);
    bool existia = false;
    QString serie;
    try {
        serie = lerEstado(arquivoEstado(), existia).serie;
    } catch (const std::runtime_error&) {
        serie = serieNova();  // asked for on purpose: the corrupt file goes
    }
    gravarEstado(arquivoEstado(), estadoNovo(serie));
}

void Controle::proximo() {
    proximo(TrocaPadraoMs);
}

void Controle::proximo(int ms) {
    alterar([ms](Estado& e) {
        Estado novo = estadoNovo(serieNova(e.serie));
        // The bench's settings belong to the bench, not to the device.
        novo.latenciaMs = e.latenciaMs;
        novo.latenciaPorFuncao = e.latenciaPorFuncao;
        novo.reinicioAposMs = e.reinicioAposMs;
        novo.diario = e.diario;
        novo.reinicioAteMs = agoraMs() + qMax(0, ms);
        e = novo;
    });
}

void Controle::ativado(const QString& codigo, const QString& cnpj, int uf,
                       const QString& assinatura) {
    alterar([&](Estado& e) {
        e.ativado = true;
        e.ativadoEmMs = agoraMs();
        e.codigoAtivacao = codigo;
        e.cnpjContribuinte = cnpj;
        e.uf = uf;
        e.assinatura = assinatura;
        e.cnpjSoftwareHouse.clear();
    });
}

void Controle::conectar(bool conectado) {
    alterar([conectado](Estado& e) {
        e.conectado = conectado;
        if (conectado) e.reinicioAteMs = 0;
    });
}

void Controle::ocupar(bool ocupado) {
    alterar([ocupado](Estado& e) {
        e.ocupado = ocupado;
        if (!ocupado) e.ocupadoAteMs = 0;
    });
}

void Controle::latencia(int ms) {
    alterar([ms](Estado& e) {
        e.latenciaMs = qMax(0, ms);
        e.latenciaPorFuncao.clear();
    });
}

void Controle::reiniciar(int ms) {
    alterar([ms](Estado& e) { e.reinicioAteMs = agoraMs() + qMax(0, ms); });
}

QStringList Controle::linhasDiario() const {
    Trava trava(m_pasta);
    QFile f(arquivoDiario());
    if (!f.open(QIODevice::ReadOnly)) return {};
    QStringList linhas = QString::fromUtf8(f.readAll()).split('\n');
    if (!linhas.isEmpty() && linhas.last().isEmpty()) linhas.removeLast();
    return linhas;
}

void Controle::registrarNoDiario(const QString& linha) const {
    Trava trava(m_pasta);
    QFile f(arquivoDiario());
    if (f.open(QIODevice::WriteOnly | QIODevice::Append)) f.write(linha.toUtf8() + '\n');
}

}  // namespace emulador
