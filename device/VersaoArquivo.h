#pragma once

#include <QString>
#include <stdexcept>

// On Windows a library carries a version resource, read with the system's
// own queries. A shared object has none, so ours carries an equivalent: the
// ELF section ".versioninfo", text lines "key=value" keyed by the paths that a
// version-resource query takes:
//   \=1,0,2,15                                     fixed file version
//   \VarFileInfo\Translation=0416 04E4             language, code page (hex)
//   \StringFileInfo\041604E4\CompanyName=...       strings per translation
// The file is parsed, never loaded.

class ErroSistemaOperacional : public std::runtime_error {
  public:
    ErroSistemaOperacional(int codigo, const QString& texto, const QString& falta = {});
    int codigo() const { return m_codigo; }
    QString texto() const { return m_texto; }
    // As the toolkit's default error report words it.
    QString mensagem() const;
    // What the file lacks, in words a library maker can act on.
    QString falta() const { return m_falta; }

  private:
    int m_codigo;
    QString m_texto;
    QString m_falta;
};

// CompanyName of the first translation; empty when that string is missing.
// Throws ErroSistemaOperacional when the resource (or section) or the
// translation is missing.
QString EmpresaArquivo(const QString& arquivo);
// Any string of the first translation (CompanyName, SpecialBuild, ...), as
// EmpresaArquivo reads CompanyName.
QString textoArquivo(const QString& arquivo, const QString& nome);

// The fixed file version as four numbers joined by "."; never throws (an
// unreadable file gives "0.0.0.0").
QString VersaoArquivo(const QString& arquivo);
