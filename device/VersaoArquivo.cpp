#include "device/VersaoArquivo.h"

ErroSistemaOperacional::ErroSistemaOperacional(int codigo, const QString& texto,
                                               const QString& falta)
    : std::runtime_error(texto.toStdString()), m_codigo(codigo), m_texto(texto), m_falta(falta) {}

QString ErroSistemaOperacional::mensagem() const {
    return QStringLiteral("Erro do sistema operacional.  Código: %1.\r\n%2")
        .arg(m_codigo)
        .arg(m_texto);
}

QString EmpresaArquivo(const QString& arquivo) {
    return textoArquivo(arquivo, QStringLiteral("CompanyName"));
}
