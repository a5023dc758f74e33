#include "app/Portas.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QThread>

#include "app/NaGui.h"

void DialogosQt::mensagem(Icone icone, const QString& texto) {
    naGuiEsperando([&] {
        const auto icon = icone == Icone::Erro         ? QMessageBox::Critical
                          : icone == Icone::Informacao ? QMessageBox::Information
                                                       : QMessageBox::NoIcon;
        QMessageBox caixa(icon, QString::fromLatin1(TituloAplicacao), texto, QMessageBox::Ok,
                          QApplication::activeWindow());
        caixa.exec();
    });
}

namespace {
QString dialogoArquivo(const PortaDialogos::Arquivo& d, QFileDialog::AcceptMode modo) {
    QString caminho;
    naGuiEsperando([&] {
        QFileDialog dialogo(QApplication::activeWindow(), d.titulo, d.pasta, d.filtro);
        dialogo.setAcceptMode(modo);
        dialogo.setDefaultSuffix(d.extensao);
        dialogo.setFileMode(modo == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                            : QFileDialog::AnyFile);
        // The one file the tool saves is appended to, never replaced: asking
        // whether to replace it would tell the user the opposite.
        dialogo.setOption(QFileDialog::DontConfirmOverwrite);
        if (dialogo.exec() == QDialog::Accepted && !dialogo.selectedFiles().isEmpty())
            caminho = dialogo.selectedFiles().constFirst();
    });
    return caminho;
}
}  // namespace

QString DialogosQt::abrirArquivo(const Arquivo& dialogo) {
    return dialogoArquivo(dialogo, QFileDialog::AcceptOpen);
}

QString DialogosQt::salvarArquivo(const Arquivo& dialogo) {
    return dialogoArquivo(dialogo, QFileDialog::AcceptSave);
}

void DialogosQt::abrirEndereco(const QUrl& endereco) {
    naGui([endereco] { QDesktopServices::openUrl(endereco); });
}

void RelogioReal::pausa(int ms) {
    if (ms > 0) QThread::msleep(static_cast<unsigned long>(ms));
}
