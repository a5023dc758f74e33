#pragma once

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QRect>
#include <QString>
#include <QWidget>

// How every window makes its controls: named as the tests and the tour look
// them up, and buttons that never become a dialog's default one.
template <typename T>
T* novoControle(const char* nome, QWidget* pai) {
    auto* c = new T(pai);
    c->setObjectName(QString::fromLatin1(nome));
    return c;
}

template <typename T>
T* novoControle(const char* nome, QWidget* pai, const QRect& area) {
    T* c = novoControle<T>(nome, pai);
    c->setGeometry(area);
    return c;
}

QPushButton* novoBotao(const char* nome, const QString& texto, QWidget* pai);
QPushButton* novoBotao(const char* nome, const QString& texto, QWidget* pai, const QRect& area);
QLabel* novoRotulo(const char* nome, const QString& texto, QWidget* pai);
// At that place, as large as its text.
QLabel* novoRotulo(const char* nome, const QString& texto, QWidget* pai, const QPoint& posicao);
QLabel* novoRotulo(const char* nome, const QString& texto, QWidget* pai, const QRect& area);
QRadioButton* novoRadio(const char* nome, const QString& texto, QWidget* pai);

class DllSat;
// Which device library the window works on: its path (cut in the middle past
// that width, whole in the tooltip) and, for the emulated device, a red mark
// no one can miss. Children "LbSatEmulado" and "LbBiblioteca".
QWidget* novaIdentificacaoBiblioteca(const DllSat& dll, QWidget* pai, int larguraCaminho);
