#include "setup/ImagensEtapa.h"

#include <QFile>
#include <QPainter>
#include <QPainterPath>

namespace {
constexpr int Lado = 20;

const char* nomeAparencia(Aparencia aparencia) {
    switch (aparencia) {
        case Aparencia::Azul:
            return "azul";
        case Aparencia::Amarelo:
            return "amarelo";
        case Aparencia::Ok:
            return "ok";
        case Aparencia::Erro:
            return "erro";
    }
    return "";
}

QColor corDe(Aparencia aparencia) {
    switch (aparencia) {
        case Aparencia::Azul:
            return QColor(30, 90, 220);
        case Aparencia::Amarelo:
            return QColor(245, 200, 20);
        case Aparencia::Ok:
            return QColor(0, 150, 60);
        case Aparencia::Erro:
            return QColor(210, 30, 30);
    }
    return Qt::black;
}

QPixmap desenhar(Aparencia aparencia) {
    QPixmap imagem(Lado, Lado);
    imagem.fill(Qt::transparent);
    QPainter p(&imagem);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(corDe(aparencia).darker(140), 1));
    p.setBrush(corDe(aparencia));
    p.drawEllipse(QRectF(1.5, 1.5, Lado - 3, Lado - 3));
    p.setPen(QPen(Qt::white, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    if (aparencia == Aparencia::Ok) {
        QPainterPath marca;
        marca.moveTo(5.5, 10.5);
        marca.lineTo(8.5, 13.5);
        marca.lineTo(14.5, 6.5);
        p.drawPath(marca);
    } else if (aparencia == Aparencia::Erro) {
        p.drawLine(QPointF(6.5, 6.5), QPointF(13.5, 13.5));
        p.drawLine(QPointF(13.5, 6.5), QPointF(6.5, 13.5));
    }
    return imagem;
}
}  // namespace

QPixmap ImagemEtapa(int passo, Aparencia aparencia) {
    const QString recurso = QStringLiteral(":/imagens/etapa_%1_%2.png")
                                .arg(QLatin1String(nomeAparencia(aparencia)))
                                .arg(passo);
    if (QFile::exists(recurso)) {
        QPixmap arte(recurso);
        if (!arte.isNull()) return arte;
    }
    return desenhar(aparencia);
}
