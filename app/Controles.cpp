#include "app/Controles.h"

QPushButton* novoBotao(const char* nome, const QString& texto, QWidget* pai) {
    auto* b = novoControle<QPushButton>(nome, pai);
    b->setText(texto);
    b->setAutoDefault(false);
    return b;
}

QPushButton* novoBotao(const char* nome, const QString& texto, QWidget* pai, const QRect& area) {
    QPushButton* b = novoBotao(nome, texto, pai);
    b->setGeometry(area);
    return b;
}

QLabel* novoRotulo(const char* nome, const QString& texto, QWidget* pai) {
    auto* l = novoControle<QLabel>(nome, pai);
    l->setText(texto);
    return l;
}

QLabel* novoRotulo(const char* nome, const QString& texto, QWidget* pai, const QPoint& posicao) {
    QLabel* l = novoRotulo(nome, texto, pai);
    l->move(posicao);
    l->adjustSize();
    return l;
}

QLabel* novoRotulo(const char* nome, const QString& texto, QWidget* pai, const QRect& area) {
    QLabel* l = novoRotulo(nome, texto, pai);
    l->setGeometry(area);
    return l;
}

QRadioButton* novoRadio(const char* nome, const QString& texto, QWidget* pai) {
    auto* r = novoControle<QRadioButton>(nome, pai);
    r->setText(texto);
    return r;
}
