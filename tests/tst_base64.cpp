#include <QRandomGenerator>
#include <QtTest>

#include "operations/ConverBase64.h"

// The device log's decoder: the standard alphabet, padding only at the very
// end, and nothing at all for any fault.
class TstBase64 : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void decodifica_data() {
        QTest::addColumn<QByteArray>("texto");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("tres") << QByteArray("YWJj") << QByteArray("abc");
        QTest::newRow("um igual") << QByteArray("YWI=") << QByteArray("ab");
        QTest::newRow("dois iguais") << QByteArray("YQ==") << QByteArray("a");
        QTest::newRow("quarto nao examinado") << QByteArray("YQ=x") << QByteArray("a");
        QTest::newRow("quarto invalido nao examinado") << QByteArray("YQ=-") << QByteArray("a");
        QTest::newRow("dois grupos") << QByteArray("YWJjZA==") << QByteArray("abcd");
        QTest::newRow("alfabeto inteiro")
            << QByteArray("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/")
            << QByteArray::fromHex(
                   "00108310518720928b30d38f41149351559761969b71d79f8218a39259a7a29aabb2dbafc31cb3d"
                   "35db7e39ebbf3dfbf");
        QTest::newRow("bytes altos e zero") << QByteArray("AP+A") << QByteArray("\x00\xff\x80", 3);
    }
    void decodifica() {
        QFETCH(QByteArray, texto);
        QFETCH(QByteArray, bytes);
        QCOMPARE(DecodificarBase64(texto), bytes);
        QCOMPARE(DecodificarBase64(QString::fromLatin1(texto)), bytes);
    }

    void invalidoDaVazio_data() {
        QTest::addColumn<QByteArray>("texto");
        QTest::newRow("vazio") << QByteArray("");
        QTest::newRow("tamanho 3") << QByteArray("YWJ");
        QTest::newRow("tamanho 5") << QByteArray("YWJjZ");
        QTest::newRow("branco") << QByteArray("YW J");
        QTest::newRow("igual fora do fim") << QByteArray("YQ==YWJj");
        QTest::newRow("quebra no meio") << QByteArray("YWJj\r\nYWJj");
        QTest::newRow("quebra no ultimo grupo") << QByteArray("YWJjYW\nj");
        QTest::newRow("url") << QByteArray("YW-_");
        QTest::newRow("byte alto") << QByteArray("YW\xc3\xa7");
        QTest::newRow("igual em segundo") << QByteArray("Y===");
        QTest::newRow("igual em primeiro") << QByteArray("====");
        QTest::newRow("invalido no ultimo grupo") << QByteArray("YWJjYW*j");
        QTest::newRow("invalido depois de digito no fim") << QByteArray("YWJjYW.=");
        QTest::newRow("nulo") << QByteArray("YW\0j", 4);
    }
    void invalidoDaVazio() {
        QFETCH(QByteArray, texto);
        QVERIFY(DecodificarBase64(texto).isEmpty());
        QVERIFY(DecodificarBase64(QString::fromLatin1(texto)).isEmpty());
    }

    // A UTF-16 character whose low byte is a digit is no digit.
    void caractereLargoEhInvalido() {
        QString texto = QStringLiteral("YWJj");
        texto[1] = QChar(0x0157);  // low byte 'W'
        QVERIFY(DecodificarBase64(texto).isEmpty());
    }

    void idaEVoltaComOCodificadorDoQt() {
        QRandomGenerator gerador(4701);
        for (int i = 0; i < 2000; ++i) {
            QByteArray bytes(gerador.bounded(1, 300), Qt::Uninitialized);
            for (char& c : bytes) c = static_cast<char>(gerador.bounded(256));
            const QByteArray texto = bytes.toBase64();
            QCOMPARE(DecodificarBase64(texto), bytes);
            QCOMPARE(DecodificarBase64(QString::fromLatin1(texto)), bytes);
            // One character of a group swapped for a byte outside the alphabet.
            QByteArray estragado = texto;
            const qsizetype lugar = gerador.bounded(qsizetype(texto.size() - 2));
            estragado[lugar] = "\n -_.*\x80"[gerador.bounded(7)];
            QVERIFY(DecodificarBase64(estragado).isEmpty());
        }
    }
};

QTEST_APPLESS_MAIN(TstBase64)
#include "tst_base64.moc"
