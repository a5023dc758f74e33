#include <QLineEdit>
#include <QtTest>

#include "ui/CampoMascara.h"

// The masked fields' values, set programmatically and typed key by key.
class TstCampos : public QObject {
    Q_OBJECT
    QWidget janela;

  private Q_SLOTS:
    void cnpj_data() {
        QTest::addColumn<QString>("digitado");
        QTest::addColumn<bool>("teclas");
        QTest::addColumn<QString>("valor");
        QTest::newRow("vazio") << "" << false << "";
        QTest::newRow("completo") << "12345678000195" << false << "12345678000195";
        QTest::newRow("completo teclado") << "12345678000195" << true << "12345678000195";
        QTest::newRow("parcial") << "1234" << true << "1234";
        QTest::newRow("parcial setText") << "1234" << false << "1234";
    }
    void cnpj() {
        QFETCH(QString, digitado);
        QFETCH(bool, teclas);
        QFETCH(QString, valor);
        QLineEdit* campo = novoCampoCNPJ("MskCNPJ", &janela);
        if (teclas) {
            campo->setFocus();
            campo->home(false);
            QTest::keyClicks(campo, digitado);
        } else {
            campo->setText(digitado);
        }
        QCOMPARE(valorCNPJ(campo), valor);
        QCOMPARE(campo->objectName(), QStringLiteral("MskCNPJ"));
    }

    void cnpjComLacunaViraBranco() {
        QLineEdit* campo = novoCampoCNPJ("c", &janela);
        campo->setText("12345678000195");
        // Erase the third digit: the place stays, shown as "_".
        campo->setCursorPosition(4);
        QTest::keyClick(campo, Qt::Key_Backspace);
        QCOMPARE(campo->displayText(), QStringLiteral("12._45.678/0001-95"));
        QCOMPARE(valorCNPJ(campo), QStringLiteral("12 45678000195"));
    }

    void endereco() {
        QLineEdit* campo = novoCampoEndereco("MaskEdIP", &janela);
        QCOMPARE(valorEndereco(campo), QStringLiteral("   .   .   .   "));
        definirEndereco(campo, "192.168.000.100");
        QCOMPARE(valorEndereco(campo), QStringLiteral("192.168.000.100"));
        definirEndereco(campo, "10.0.0.1");
        QCOMPARE(valorEndereco(campo), QStringLiteral("10 .0  .0  .1  "));
        definirEndereco(campo, "1234.5");
        QCOMPARE(valorEndereco(campo), QStringLiteral("123.5  .   .   "));
        definirEndereco(campo, "");
        QCOMPARE(valorEndereco(campo), QStringLiteral("   .   .   .   "));
    }

    void enderecoTeclado() {
        QLineEdit* campo = novoCampoEndereco("MaskEdIP", &janela);
        campo->setFocus();
        campo->home(false);
        QTest::keyClicks(campo, "192168");
        QCOMPARE(valorEndereco(campo), QStringLiteral("192.168.   .   "));
    }
};

QTEST_MAIN(TstCampos)
#include "tst_campos.moc"
