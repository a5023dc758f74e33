#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QtTest>

#include "core/Respostas.h"
#include "core/Trabalhador.h"
#include "tests/apoio/TesteJanelas.h"
#include "ui/Log.h"

namespace {
const QString Codigo = QStringLiteral("12345678");
const QString CnpjContribuinte = QStringLiteral("11222333000181");
const QString CnpjSoftwareHouse = QStringLiteral("61099008000141");
const QString SignAC = QStringLiteral("SGR-SAT SISTEMA DE GESTAO E RETAGUARDA DO SAT");
const QStringList BotoesAssociado{"BtAtualizarSat", "BtTestesVCan",  "BtTrocarCodAtiv",
                                  "BtTestFimAFim",  "BtBloquearSat", "BtDesbloquearSat"};
}  // namespace

// The associate-signature window against an emulated device activated with
// the contributor's number, each test on a device of its own.
class TstAssociarEmulador : public TesteEmulado {
    Q_OBJECT

    QLineEdit* campo(const char* nome) {
        return b->controle<QLineEdit>(Janela::AssociarAssinatura, nome);
    }
    QPlainTextEdit* memo() {
        return b->controle<QPlainTextEdit>(Janela::AssociarAssinatura, "MemoSignac");
    }
    QPlainTextEdit* log() {
        return b->controle<QPlainTextEdit>(Janela::AssociarAssinatura, "RichEdit1");
    }
    static QString semDataHora(const QString& linha) { return linha.section("] ", 1); }

    void preencher(const QString& contribuinte, const QString& assinatura) {
        campo("MskEdCNPJContr")->setText(contribuinte);
        campo("MskEdCNPJSwHouse")->setText(CnpjSoftwareHouse);
        memo()->setPlainText(assinatura);
    }
    void enviar() {
        QVERIFY(b->clicar(Janela::AssociarAssinatura, "btEnviar"));
        QTRY_COMPARE_WITH_TIMEOUT(Trabalhador::vivos(), 0, 10000);
        QCoreApplication::processEvents();
    }
    QStringList linhas() { return log()->toPlainText().split('\n'); }
    QStringList habilitados() {
        QStringList nomes;
        for (const QString& nome : BotoesAssociado)
            if (b->controle<QPushButton>(Janela::Principal, qPrintable(nome))->isEnabled())
                nomes << nome;
        return nomes;
    }

    void preparar() override {
        dispositivo->ativado(stexto(Codigo), stexto(CnpjContribuinte), 35);
        // The restart after an association would leave the device off its
        // port for seconds; the window does not wait for it.
        dispositivo->alterar([](emulador::Estado& e) { e.reinicioAposMs = 0; });
        b->abrirPrincipal(Codigo);
        for (const QString& nome : BotoesAssociado)
            b->controle<QPushButton>(Janela::Principal, qPrintable(nome))->setEnabled(false);
        QVERIFY(b->clicar(Janela::Principal, "BtAssociarAssinatura"));
        QVERIFY(b->janela(Janela::AssociarAssinatura)->isVisible());
    }

  private Q_SLOTS:
    void associadoHabilitaOsBotoes() {
        preencher(CnpjContribuinte, SignAC);
        enviar();
        const QStringList l = linhas();
        QVERIFY(b->dialogos.caixas().isEmpty());
        QCOMPARE(l.size(), 3);
        QCOMPARE(semDataHora(l[0]),
                 QStringLiteral("ESTE PROCESSO PODE DEMORAR ALGUNS MINUTOS, AGUARDE!"));
        const QString rx = semDataHora(l[2]);
        QVERIFY2(rx.startsWith("[RX] "), qPrintable(rx));
        const QString sessao = ExtraiCampo(rx.mid(5), 0);
        QCOMPARE(semDataHora(l[1]), "[TX] AssociarAssinatura(" + sessao + ',' + Codigo + ',' +
                                        CnpjSoftwareHouse + CnpjContribuinte + ',' + SignAC + ')');
        QCOMPARE(rx, "[RX] " + sessao + "|13000|0000|Assinatura do AC registrada||");
        QCOMPARE(CorDaLinha(log(), 0), CorPreta);
        QCOMPARE(CorDaLinha(log(), 1), CorTX);
        QCOMPARE(CorDaLinha(log(), 2), CorRX);
        QCOMPARE(habilitados(), BotoesAssociado);
        const emulador::Estado e = dispositivo->estado();
        QCOMPARE(qtexto(e.assinatura), SignAC);
        QCOMPARE(qtexto(e.cnpjSoftwareHouse), CnpjSoftwareHouse);
    }

    void recusadoDeixaOsBotoes_data() {
        QTest::addColumn<QString>("codigo");
        QTest::addColumn<QString>("contribuinte");
        QTest::addColumn<QString>("assinatura");
        QTest::addColumn<QString>("retorno");
        QTest::newRow("outro contribuinte")
            << Codigo << QStringLiteral("12345678000195") << SignAC << "13007";
        QTest::newRow("codigo errado") << "87654321" << CnpjContribuinte << SignAC << "13001";
        QTest::newRow("assinatura fora do padrao")
            << Codigo << CnpjContribuinte << QStringLiteral("QUJD") << "13003";
    }
    void recusadoDeixaOsBotoes() {
        QFETCH(QString, codigo);
        QFETCH(QString, contribuinte);
        QFETCH(QString, assinatura);
        QFETCH(QString, retorno);
        b->ctx().setCodigoAtivacao(codigo);
        preencher(contribuinte, assinatura);
        enviar();
        const QStringList l = linhas();
        QVERIFY(b->dialogos.caixas().isEmpty());
        QCOMPARE(l.size(), 3);
        QVERIFY(semDataHora(l[1]).startsWith("[TX] AssociarAssinatura("));
        QCOMPARE(ExtraiCampo(semDataHora(l[2]).mid(5), 1), retorno);
        QCOMPARE(b->ctx().estado.CampoB(), retorno);
        QCOMPARE(habilitados(), QStringList());
        QVERIFY(dispositivo->estado().assinatura.empty());
    }
};

QTEST_MAIN(TstAssociarEmulador)
#include "tst_associar_emulador.moc"
