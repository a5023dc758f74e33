#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

#include "tests/apoio/Bancada.h"
#include "tests/apoio/DispositivoEmulado.h"
#include "tests/apoio/TesteJanelas.h"
#include "ui/Sessao.h"

using Icone = PortaDialogos::Icone;

// The start window and the status refresh of the tool against the emulated
// device, as a user meets them on a machine without hardware.
class TstEmuladorShell : public TesteEmulado {
    Q_OBJECT

    void entrar(const QString& codigo) {
        b->controle<QLineEdit>(Janela::CodAtivacao, "txtCodAtivacao")->setText(codigo);
        QVERIFY(b->clicar(Janela::CodAtivacao, "BtIniciar"));
    }
    QString status() { return b->controle<QLabel>(Janela::Principal, "LbStatusCom")->text(); }

    void preparar() override { b->janela(Janela::CodAtivacao)->show(); }

  private Q_SLOTS:
    void dispositivoNovoAbreComQualquerCodigo() {
        entrar("qualquer1");
        QVERIFY(b->dialogos.caixas().isEmpty());
        QVERIFY(b->janela(Janela::Principal)->isVisible());
        QCOMPARE(b->controle<QLabel>(Janela::Principal, "LbSatVersao")->text(),
                 QString("SAT - 01.00.00"));
        QCOMPARE(b->controle<QLabel>(Janela::Principal, "LbLayout")->text(),
                 QString("LAYOUT - 00.07"));
        QCOMPARE(b->controle<QLabel>(Janela::Principal, "LbSatDllVersao")->text(),
                 QString("SAT .DLL -1.0.2.15"));
        QCOMPARE(status(), StatusConectado);
    }

    // Read from the library's own version information, not from its path.
    void ambasAsJanelasMarcamOSatEmulado() {
        for (Janela j : {Janela::CodAtivacao, Janela::Principal}) {
            QVERIFY(b->controle<QLabel>(j, "LbSatEmulado")->isVisibleTo(b->janela(j)));
            QCOMPARE(b->controle<QLabel>(j, "LbBiblioteca")->toolTip(),
                     "Biblioteca: " + QFileInfo(CaminhoEmulador()).absoluteFilePath());
        }
    }

    void dispositivoAtivadoPedeOSeuCodigo() {
        dispositivo->ativado("87654321");
        entrar("12345678");
        QCOMPARE(b->dialogos.caixas().size(), 1);
        QCOMPARE(b->dialogos.ultima().icone, Icone::Erro);
        QCOMPARE(b->dialogos.ultima().texto,
                 QStringLiteral("1234589|10001|Código de ativação inválido||"));
        QVERIFY(!b->janela(Janela::Principal)->isVisible());
        entrar("87654321");
        QCOMPARE(b->dialogos.caixas().size(), 1);
        QVERIFY(b->janela(Janela::Principal)->isVisible());
        QCOMPARE(b->ctx().CodigoAtivacao(), QString("87654321"));
    }

    void dispositivoForaDaPortaNaoDeixaEntrar() {
        dispositivo->conectar(false);
        entrar("12345678");
        QCOMPARE(b->dialogos.ultima().texto, TextoPortaNaoPronta);
        QVERIFY(!b->janela(Janela::Principal)->isVisible());
    }

    void atualizacaoDoStatus() {
        entrar("12345678");
        dispositivo->conectar(false);
        AtualizaStatusConexao(b->ctx(), true);
        QCoreApplication::processEvents();
        QCOMPARE(b->ctx().estado.StatusConexao(), StatusDesconectado);
        QCOMPARE(status(), StatusDesconectado);
        dispositivo->conectar(true);
        dispositivo->ocupar(true);
        AtualizaStatusConexao(b->ctx(), true);
        QCoreApplication::processEvents();
        QCOMPARE(status(), StatusEmProcessamento);
        dispositivo->ocupar(false);
        AtualizaStatusConexao(b->ctx(), true);
        QCoreApplication::processEvents();
        QCOMPARE(status(), StatusConectado);
        dispositivo->reiniciar(600000);
        AtualizaStatusConexao(b->ctx(), false);
        QCOMPARE(b->ctx().estado.StatusConexao(), StatusDesconectado);
    }
};

QTEST_MAIN(TstEmuladorShell)
#include "tst_emulador_shell.moc"
