#pragma once

#include <QString>

class QLineEdit;
class QWidget;

// Masked fields and the values the tool reads from them. QLineEdit::text()
// does not give these values, so every window reads them here.

// CNPJ: 14 digit places shown as 99.999.999/9999-99, "_" for an empty place.
QLineEdit* novoCampoCNPJ(const char* nome, QWidget* pai);
// The digits without the literals; empty places before a typed digit as
// blanks, empty places at the end dropped; an untouched field gives "".
QString valorCNPJ(const QLineEdit* campo);

// IPv4 address: 999.999.999.999, "_" for an empty place.
QLineEdit* novoCampoEndereco(const char* nome, QWidget* pai);
// Always 15 characters: the dots kept, a blank for every empty place.
QString valorEndereco(const QLineEdit* campo);
// What goes to the device: each group's digits joined by dots, without the
// blanks of the empty places, which the device would read as part of the
// address.
QString enderecoDigitado(const QLineEdit* campo);
// Each group of the value left-aligned in its three places (padded with
// blanks, cut to three).
void definirEndereco(QLineEdit* campo, const QString& valor);
