// The yardstick of the start-up benchmark: a bare Qt Widgets window with a
// label, a field and a button.
#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget janela;
    auto* linha = new QHBoxLayout(&janela);
    linha->addWidget(new QLabel(QStringLiteral("Código:")));
    linha->addWidget(new QLineEdit);
    linha->addWidget(new QPushButton(QStringLiteral("OK")));
    janela.show();
    return app.exec();
}
