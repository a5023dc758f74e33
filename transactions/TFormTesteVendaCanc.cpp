#include "transactions/TFormTesteVendaCanc.h"

#include <QDir>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/Arquivos.h"
#include "core/Respostas.h"
#include "device/DllSat.h"
#include "transactions/DocumentosTeste.h"
#include "transactions/TFormTesteFimaFim.h"
#include "ui/Contexto.h"
#include "ui/Controles.h"
#include "ui/Log.h"
#include "ui/Sessao.h"

TFormTesteVendaCanc::TFormTesteVendaCanc(Contexto& contexto)
    // Sizeable, but without a maximise box: the fixed windows' title bar.
    : Formulario(contexto, QStringLiteral("TOOL SAT Tivoro - Teste de venda e cancelamento"),
                 Borda::FixaComMinimizar) {
    setObjectName("TFormTesteVendaCanc");
    montar();
    connect(BtLimpar, &QPushButton::clicked, this, &TFormTesteVendaCanc::BtLimparClick);
    connect(BtLocalArquivo, &QPushButton::clicked, this, &TFormTesteVendaCanc::BtLocalArquivoClick);
    connect(BtXMLPadrao, &QPushButton::clicked, this, &TFormTesteVendaCanc::BtXMLPadraoClick);
    connect(BtEnviar, &QPushButton::clicked, this, &TFormTesteVendaCanc::BtEnviarClick);
    connect(BtCancelar, &QPushButton::clicked, this, &TFormTesteVendaCanc::BtCancelarClick);
    // Return in the last field sends, as the button does.
    connect(EdLocalArquivo, &QLineEdit::returnPressed, BtEnviar, &QPushButton::click);
}

void TFormTesteVendaCanc::montar() {
    RichEdit1 = novoTexto("RichEdit1", this);
    RichEdit1->setLineWrapMode(QPlainTextEdit::NoWrap);
    RichEdit1->setMinimumSize(640, 300);
    BtLimpar = novoBotao("BtLimpar", QStringLiteral("Limpar"), this);

    GroupBox1 = new QGroupBox(this);
    GroupBox1->setObjectName("GroupBox1");
    RdbXMLVenda = novoRadio("RdbXMLVenda", QStringLiteral("XML Venda"), GroupBox1);
    RdbXMLCanc = novoRadio("RdbXMLCanc", QStringLiteral("XML Cancelamento"), GroupBox1);
    auto* tipos = new QVBoxLayout(GroupBox1);
    tipos->addWidget(RdbXMLVenda);
    tipos->addWidget(RdbXMLCanc);

    GroupBox2 = new QGroupBox(this);
    GroupBox2->setObjectName("GroupBox2");
    Label1 = new QLabel(QStringLiteral("Informe o local do XML:"), GroupBox2);
    Label1->setObjectName("Label1");
    EdLocalArquivo = novoControle<QLineEdit>("EdLocalArquivo", GroupBox2);
    BtLocalArquivo = novoBotao("BtLocalArquivo", QStringLiteral("..."), GroupBox2);
    BtLocalArquivo->setFixedWidth(32);
    BtXMLPadrao = novoBotao("BtXMLPadrao", QStringLiteral("XML Padrão"), GroupBox2);
    BtEnviar = novoBotao("BtEnviar", QStringLiteral("Enviar"), GroupBox2);
    auto* caminho = new QHBoxLayout;
    caminho->addWidget(EdLocalArquivo, 1);
    caminho->addWidget(BtLocalArquivo);
    auto* envio = new QHBoxLayout;
    envio->addStretch();
    envio->addWidget(BtXMLPadrao);
    envio->addWidget(BtEnviar);
    auto* arquivo = new QVBoxLayout(GroupBox2);
    arquivo->addWidget(Label1);
    arquivo->addLayout(caminho);
    arquivo->addLayout(envio);

    BtCancelar = novoBotao("BtCancelar", QStringLiteral("Cancelar"), this);
    auto* limpar = new QHBoxLayout;
    limpar->addStretch();
    limpar->addWidget(BtLimpar);
    auto* baixo = new QHBoxLayout;
    baixo->addWidget(GroupBox1);
    baixo->addWidget(GroupBox2, 1);
    auto* fim = new QHBoxLayout;
    fim->addStretch();
    fim->addWidget(BtCancelar);
    auto* janela = new QVBoxLayout(this);
    janela->addWidget(RichEdit1, 1);
    janela->addLayout(limpar);
    janela->addLayout(baixo);
    janela->addLayout(fim);
}

void TFormTesteVendaCanc::FormShow() {
    RichEdit1->clear();
    RdbXMLVenda->setChecked(true);
}

void TFormTesteVendaCanc::FormClose() {
    AtualizaStatusConexao(ctx, false);
    ctx.mostrar(Janela::Principal);
}

void TFormTesteVendaCanc::BtLimparClick() {
    RichEdit1->clear();
}

void TFormTesteVendaCanc::BtCancelarClick() {
    close();
}

void TFormTesteVendaCanc::BtLocalArquivoClick() {
    const QString caminho =
        ctx.dialogos.abrirArquivo({QStringLiteral("Carregar Xml..."), QDir::currentPath(),
                                   QStringLiteral("Arquivo xml (*.xml)"), QStringLiteral("xml")});
    if (caminho.isEmpty()) return;
    EdLocalArquivo->setText(caminho);
    ctx.dialogos.informacao(QStringLiteral("XML carregado com sucesso!"));
}

QString TFormTesteVendaCanc::chamar(const QString& tx, const std::function<QString()>& chamada) {
    const QString resposta = chamadaComLog(ctx, RichEdit1, tx, chamada, {true, false});
    QTextCharFormat preto;
    preto.setForeground(CorPreta);
    RichEdit1->setCurrentCharFormat(preto);
    return resposta;
}

QString TFormTesteVendaCanc::venda(int sessao, const QByteArray& xml, const QString& textoXml) {
    const QString codigo = ctx.CodigoAtivacao();
    return chamar("EnviarDadosVenda(" + QString::number(sessao) + ',' + codigo + ',' +
                      trechoParaLog(textoXml) + ");",
                  [&] { return ctx.dll.EnviarDadosVenda(sessao, codigo, xml); });
}

QString TFormTesteVendaCanc::cancelamento(int sessao, const QString& chave, const QByteArray& xml,
                                          const QString& textoXml) {
    const QString codigo = ctx.CodigoAtivacao();
    return chamar("CancelarUltimaVenda(" + QString::number(sessao) + ',' + codigo + ',' + chave +
                      ',' + trechoParaLog(textoXml) + ");",
                  [&] { return ctx.dll.CancelarUltimaVenda(sessao, codigo, chave, xml); });
}

void TFormTesteVendaCanc::BtEnviarClick() {
    const int sessao = ctx.aleatorio.sessaoNova();
    RichEdit1->moveCursor(QTextCursor::End);
    if (EdLocalArquivo->text().isEmpty()) {
        ctx.dialogos.erro(QStringLiteral("Informe um XML de venda!"));
        return;
    }
    QByteArray xml;
    if (!lerDocumento(EdLocalArquivo->text(), xml)) return;
    const QString texto = textoDeBytes(xml);
    if (RdbXMLVenda->isChecked()) {
        venda(sessao, xml, texto);
    } else if (RdbXMLCanc->isChecked()) {
        m_chaveVenda = ExtraiCampo(texto, 1, QLatin1Char('"'));
        // The key goes as the file's bytes, as the document does: decoded as
        // Windows-1252, the binding gives back each byte unchanged.
        cancelamento(sessao, ExtraiCampo(DllSat::deWin1252(xml), 1, QLatin1Char('"')), xml, texto);
    } else {
        ctx.dialogos.erro(QStringLiteral("Informe se o XML é de Venda ou Cancelamento!"));
    }
}

// The file's lines joined with nothing between them, its bytes otherwise
// untouched, whatever their encoding; false, after saying why, when it is not
// a regular file or is larger than the device could take.
bool TFormTesteVendaCanc::lerDocumento(const QString& caminho, QByteArray& xml) {
    const ResultadoArquivo lido = lerArquivoComum(caminho, LimiteDocumento);
    if (lido.falha == ResultadoArquivo::Falha::GrandeDemais) {
        ctx.dialogos.erro(QStringLiteral("O arquivo %1 tem %2 bytes, mais do que o limite de %3 "
                                         "bytes (o SAT recusa documentos acima de 1.500 KB): "
                                         "nada foi enviado.")
                              .arg(QDir::toNativeSeparators(caminho))
                              .arg(lido.tamanho)
                              .arg(LimiteDocumento));
        return false;
    }
    if (lido.falha != ResultadoArquivo::Falha::Nenhuma) {
        ctx.dialogos.erro(QStringLiteral("Erro na abertura do Arquivo!"));
        return false;
    }
    xml = lido.dados;
    xml.replace("\r", "").replace("\n", "");
    return true;
}

void TFormTesteVendaCanc::BtXMLPadraoClick() {
    ParametrosTeste& p = ctx.principal().parametrosTeste();
    if (RdbXMLVenda->isChecked()) {
        p.ParametrosTeste = 0;
        static_cast<TFormTesteFimaFim*>(ctx.janela(Janela::TesteFimaFim))
            ->perguntar(QStringLiteral("TOOL SAT Tivoro - Teste de venda e cancelamento"));
    }
    if (p.ParametrosTeste != 1) return;

    const int sessao = ctx.aleatorio.sessaoNova();
    RichEdit1->moveCursor(QTextCursor::End);
    if (RdbXMLVenda->isChecked()) {
        const QString xml = xmlCupomTeste(p, TotalVazio::Unico);
        // An error reply has no key: the built-in cancellation then asks for a sale.
        m_chaveVenda = ExtraiCampo(venda(sessao, xml.toUtf8(), xml), 8);
    } else if (RdbXMLCanc->isChecked()) {
        if (m_chaveVenda.isEmpty()) {
            ctx.dialogos.informacao(
                QStringLiteral("Faça uma venda antes de fazer um cancelamento!"));
            return;
        }
        const QString xml = xmlCancelamentoTeste(p, m_chaveVenda);
        cancelamento(sessao, m_chaveVenda, xml.toUtf8(), xml);
    }
}
