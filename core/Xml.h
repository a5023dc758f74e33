#pragma once

#include <QString>

// Typed values go into the XML documents the tool builds only through these:
// a value must never break the document nor add elements to it.

// Element content: "&", "<" and ">" escaped.
QString escapaXml(const QString& texto);
// Attribute value between double quotes: also the double quote.
QString escapaAtributoXml(const QString& texto);
