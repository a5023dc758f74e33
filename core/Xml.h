#pragma once

#include <QString>

// Typed values go into the XML documents the tool builds only through these:
// a value must never break the document nor add elements to it.

// Element content: "&", "<" and ">" escaped.
QString EscapaXml(const QString& texto);
// Attribute value between double quotes: also the double quote.
QString EscapaAtributoXml(const QString& texto);
