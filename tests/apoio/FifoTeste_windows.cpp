#include <windows.h>

#include <QUuid>
#include <chrono>

#include "tests/apoio/FifoTeste.h"

// Windows keeps its pipes apart from the files: the one a test gets lives
// under \\.\pipe\, with nobody ever reading or writing it. Opening it does not
// wait there, so the release is only a bound.
namespace {
QString nomeDoCano() {
    return QStringLiteral("\\\\.\\pipe\\tool-sat-teste-") +
           QUuid::createUuid().toString(QUuid::WithoutBraces);
}
}  // namespace

FifoTeste::FifoTeste(const QString& /*arquivo*/, int esperaMs) : caminho(nomeDoCano()) {
    const std::wstring nome = caminho.toStdWString();
    HANDLE cano = CreateNamedPipeW(nome.c_str(), PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE | PIPE_WAIT,
                                   PIPE_UNLIMITED_INSTANCES, 4096, 4096, 0, nullptr);
    if (cano == INVALID_HANDLE_VALUE) qFatal("CreateNamedPipeW %s", qPrintable(caminho));
    m_liberador = std::thread([this, cano, esperaMs] {
        using namespace std::chrono;
        const auto limite = steady_clock::now() + milliseconds(esperaMs);
        while (!m_fim && steady_clock::now() < limite) std::this_thread::sleep_for(10ms);
        if (!m_fim) m_liberou = true;
        CloseHandle(cano);
    });
}

FifoTeste::~FifoTeste() {
    m_fim = true;
    m_liberador.join();
}
