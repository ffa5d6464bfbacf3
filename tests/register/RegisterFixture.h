#pragma once
// A data folder ready for register work: company, paths and web addresses (the start-up check
// passes), the code tables of the movement window (TA05, TA20, T004, TA21C, TA21S), one company
// product, an excise row for Germany and a register protocol valid from 1 January 2020.
#include <QByteArray>
#include <QDate>
#include <QList>

#include <cstdint>

#include "support/Fakes.h"

namespace vt::test {

// ROSSO01: packaged still wine of 12,5 % vol, TA20 code W200-22042138-00-0000.
inline const QString kProduct = QStringLiteral("ROSSO01");
inline const QString kWine = QStringLiteral("W200-22042138-00-0000");

void prepareRegisterData(TestContext& t);

// One line of a register file as a test writes it by hand: the 520-byte record built field by field
// at the offsets of the register record layout (not by the program's encoder). Text fields are
// stored at their full width (length byte = width, padded with spaces), filler bytes are 0.
struct RegisterLine {
    std::int32_t numero = 0;
    std::int32_t progressivo = 0;
    QDate day;
    char tipoMovimento = 'C'; // 'C' load, 'S' unload, 'A' annotation; ' ' for guarantee days
    char registro = 'C';
    char operazione = 'I';
    char stato = ' ';
    double litri = 0; // a guarantee day: impegnato
    std::int32_t collegato = 0;
    std::int32_t numeroFlusso = 0;
    QDate flowDay;
    QByteArray tipoDocumento = "DAA";
    QByteArray numeroDocumento;
    std::int32_t progressivoEad = 0;
    std::int32_t progressivoDettaglio = 0;
    QDate linkedDay;
    QByteArray nota;

    RegisterLine& sent(std::int32_t flow, QDate on = {});
    RegisterLine& state(char s)
    {
        stato = s;
        return *this;
    }
    RegisterLine& op(char o)
    {
        operazione = o;
        return *this;
    }
    RegisterLine& linked(std::int32_t to, QDate on = {});
    RegisterLine& document(const char* type, const char* number = "", std::int32_t ead = 0, std::int32_t line = 0);
    RegisterLine& note(const char* text)
    {
        nota = text;
        return *this;
    }
    RegisterLine& litres(double l)
    {
        litri = l;
        return *this;
    }
};

// A load, an unload, an annotation and a guarantee day of year-month-day.
RegisterLine loadLine(std::int32_t numero, std::int32_t progressivo, QDate day, double litri);
RegisterLine unloadLine(std::int32_t numero, std::int32_t progressivo, QDate day, double litri);
RegisterLine annotationLine(std::int32_t numero, std::int32_t progressivo, QDate day, double litri);
RegisterLine guaranteeLine(std::int32_t numero, std::int32_t progressivo, QDate day, double impegnato);

QByteArray registerLineBytes(const RegisterLine& line);
QByteArray registerFileBytes(const QList<RegisterLine>& lines);
void writeRegisterFile(const QString& path, const QList<RegisterLine>& lines);
QByteArray fileBytes(const QString& path);

// Marks records sent the way a flow does: each read as it stands and passed to the store.
void markSent(const QString& path, const QList<std::int32_t>& numbers, double flowDate, std::int32_t flowNumber,
    Messenger& messenger);

} // namespace vt::test
