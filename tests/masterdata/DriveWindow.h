#pragma once
// Small helpers to drive a window offscreen and to read table files as stored.
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QtEndian>

#include <gtest/gtest.h>

#include "foundation/RecordFile.h"

// Readable QString values in failure reports.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace vt::test::drive {

template <class W = QLineEdit>
W* get(QWidget* w, const char* name)
{
    W* c = w->findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(c, nullptr) << name;
    return c;
}

inline void showActive(QWidget* w)
{
    w->show();
    QApplication::setActiveWindow(w);
    QApplication::processEvents();
}

inline void typeAndEnter(QWidget* w, const char* name, const QString& text)
{
    auto* e = get(w, name);
    e->setFocus();
    QApplication::processEvents();
    e->selectAll(); // typing replaces what the field held
    QTest::keyClicks(e, text);
    QTest::keyClick(e, Qt::Key_Return);
    QApplication::processEvents();
}

inline void click(QWidget* w, const char* name)
{
    auto* b = get<QAbstractButton>(w, name);
    b->setFocus(Qt::MouseFocusReason);
    QApplication::processEvents();
    QTest::mouseClick(b, Qt::LeftButton);
    QApplication::processEvents();
}

// Fields of a stored TRecTabella record, read at their byte offsets.
inline QString textAt(const QByteArray& r, int offset)
{
    return QString::fromLatin1(r.mid(offset + 1, static_cast<unsigned char>(r[offset])));
}
inline QString fld(const QByteArray& r, int i) { return textAt(r, 4 + 251 * i); }
inline QString ext(const QByteArray& r, int i) { return textAt(r, 2514 + 251 * i); }
inline qint32 dim(const QByteArray& r, int i) { return qFromLittleEndian<qint32>(r.constData() + 5024 + 4 * i); }
inline double valA(const QByteArray& r, int i) { return qFromLittleEndian<double>(r.constData() + 5064 + 8 * i); }
inline double valB(const QByteArray& r, int i) { return qFromLittleEndian<double>(r.constData() + 5144 + 8 * i); }
inline double valC(const QByteArray& r, int i) { return qFromLittleEndian<double>(r.constData() + 5224 + 8 * i); }

inline QList<QByteArray> records(const QString& path)
{
    return RecordFile(path, 5304).readAll();
}

} // namespace vt::test::drive
