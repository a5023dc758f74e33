#include "core/Trabalhador.h"

#include <cstdio>
#include <cstdlib>

std::atomic<int> Trabalhador::s_vivos{0};

Trabalhador::Trabalhador(std::function<void()> execucao) : m_execucao(std::move(execucao)) {
    ++s_vivos;
    connect(this, &QThread::finished, this, &QObject::deleteLater);
}

Trabalhador::~Trabalhador() = default;

void Trabalhador::run() {
    m_execucao();
    --s_vivos;
}

void Trabalhador::iniciar(std::function<void()> execucao) {
    (new Trabalhador(std::move(execucao)))->start();
}

int Trabalhador::encerrar(int status) {
    if (vivos() == 0) return status;
    std::fflush(nullptr);
    std::_Exit(status);
}
