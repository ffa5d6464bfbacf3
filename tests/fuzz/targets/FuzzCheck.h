#pragma once
// A broken property ends the run like a crash, so libFuzzer keeps the input that broke it.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <algorithm>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

// Set by a target that leaves files behind: called before a broken property ends the run.
inline void (*fuzzCleanup)() = nullptr;

#define FUZZ_CHECK(cond, what)                                                                                     \
    do {                                                                                                           \
        if (!(cond)) {                                                                                             \
            std::fprintf(stderr, "\nPROPERTY BROKEN at %s:%d: %s\n  %s\n", __FILE__, __LINE__, #cond,               \
                         QString(what).toLocal8Bit().constData());                                                 \
            if (fuzzCleanup)                                                                                       \
                fuzzCleanup();                                                                                     \
            std::abort();                                                                                          \
        }                                                                                                          \
    } while (0)

// Input bytes as text, one character per byte (Latin-1), so every byte value reaches the parsers.
inline QString latin1Text(const uint8_t* data, size_t size)
{
    return QString::fromLatin1(reinterpret_cast<const char*>(data), qsizetype(size));
}

inline QByteArray bytesOf(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}
