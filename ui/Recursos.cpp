#include "ui/Recursos.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>
#include <QtGlobal>

// Outside any namespace: the macro names a global function.
void iniciaRecursos() {
    Q_INIT_RESOURCE(imagens);
}

void carregaTraducaoQt() {
    static QPointer<QTranslator> traducao;
    if (traducao) return;
    traducao = new QTranslator(QCoreApplication::instance());
    if (traducao->load(QStringLiteral("qtbase_pt_BR"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(traducao);
}
