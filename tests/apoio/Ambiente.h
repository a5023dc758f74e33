#pragma once

#include <QByteArray>
#include <QList>
#include <initializer_list>
#include <utility>

// Environment variables set for a scope: how a test steers the stand-in
// library inside the helper program, which starts with this environment.
class Ambiente {
  public:
    Ambiente(std::initializer_list<std::pair<const char*, QByteArray>> valores) {
        for (const auto& [nome, valor] : valores) {
            qputenv(nome, valor);
            m_nomes << nome;
        }
    }
    ~Ambiente() {
        for (const char* nome : m_nomes) qunsetenv(nome);
    }
    Ambiente(const Ambiente&) = delete;
    Ambiente& operator=(const Ambiente&) = delete;

  private:
    QList<const char*> m_nomes;
};
