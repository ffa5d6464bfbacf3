#include "masterdata/health/DataCheck.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QMap>
#include <QRegularExpression>
#include <QSet>

#include <cmath>
#include <functional>
#include <map>

#include "foundation/AtomicFile.h"
#include "foundation/CompanyRecord.h"
#include "foundation/Dates.h"
#include "foundation/EadRecord.h"
#include "foundation/FileGroup.h"
#include "foundation/FileLock.h"
#include "foundation/RecordCodec.h"
#include "foundation/RegisterRecord.h"
#include "foundation/TableRecord.h"
#include "masterdata/health/DataCopy.h"

namespace vt::health {

namespace {

struct TextField {
  const char *name;
  int offset;
  int width;
};

template <class R> QList<TextField> textFieldsOf() {
  QList<TextField> out;
  for (const auto &f : R::fields())
    if (f.kind == FieldKind::Text)
      out << TextField{f.name, f.offset, f.width};
  return out;
}

// A date field is 0 (none) or a day between these two.
const double kFirstDay = dates::fromDate(QDate(1980, 1, 1));
const double kLastDay = dates::fromDate(QDate(2100, 12, 31));

enum class Family {
  Company,
  Table,
  EadHeader,
  EadLine,
  Register,
  Guarantee,
  CarryOver
};

struct FileKind {
  QRegularExpression name; // on the upper-case file name
  int size;
  Family family;
  QStringList dates;                // double fields holding dates
  QMap<QString, QStringList> codes; // text field -> allowed stored values
};

const QStringList kRegisterDates = {
    QStringLiteral("data"), QStringLiteral("dataFlusso"),
    QStringLiteral("dataDocumento"), QStringLiteral("dataCollegata")};
const QStringList kEadDates = {QStringLiteral("dataFlusso"),
                               QStringLiteral("DATFAT"),
                               QStringLiteral("DATSPE")};

QRegularExpression re(const char *p) {
  return QRegularExpression(QString::fromLatin1(p));
}

const QList<FileKind> &fileKinds() {
  static const QList<FileKind> kinds = {
      {re("^UTENTE\\.\\d{3}$"), TRecAzienda::Size, Family::Company, {}, {}},
      {re("^INDIRIZZI_[DTGF]\\.DAT$"),
       TRecAzienda::Size,
       Family::Company,
       {},
       {}},
      {re("(\\.STR$)|(\\.TAB$)|(^(APPL|WEB)\\.CFG$)"),
       TRecTabella::Size,
       Family::Table,
       {},
       {}},
      {re("^\\d{4}_815_A\\.DAT$"),
       TRecEad::Size,
       Family::EadHeader,
       kEadDates,
       {{QStringLiteral("stato"), {" ", "I", "0", "C", "3", "4"}}}},
      {re("^\\d{4}_(810|813|818_J)\\.DAT$"),
       TRecEad::Size,
       Family::EadHeader,
       kEadDates,
       {{QStringLiteral("stato"), {" ", "I"}}}},
      {re("^\\d{4}_(815_I|815_C|813_P|818_K)\\.DAT$"),
       TRecDettaglio::Size,
       Family::EadLine,
       {},
       {}},
      {re("^\\d{4}\\.RGM$"),
       TRecMovimento::Size,
       Family::Register,
       kRegisterDates,
       {{QStringLiteral("stato"), {" ", "C", "R"}},
        {QStringLiteral("operazione"), {"I", "C", "A", "D"}},
        {QStringLiteral("registro"), {"C"}},
        {QStringLiteral("tipoMovimento"), {"C", "S", "A"}}}},
      {re("^\\d{4}\\.GAR$"),
       TRecMovimento::Size,
       Family::Guarantee,
       kRegisterDates,
       {{QStringLiteral("stato"), {" ", "C", "R"}},
        {QStringLiteral("operazione"), {"I", "C"}},
        {QStringLiteral("registro"), {"F"}}}},
      {re("^RIPORTI\\.GAR$"), TRecMovimento::Size, Family::CarryOver, {}, {}},
      // Work files of the temporary folder.
      {re("^(TRASPORTO|PRODOTTI)\\.DAT$|^DETTAGLI\\.818$|^XML\\.ITE$"),
       TRecDettaglio::Size,
       Family::EadLine,
       {},
       {}},
      {re("^XML\\.DAT$"), TRecEad::Size, Family::EadHeader, {}, {}},
      {re("^(CARICHI|SCARICHI|RIENTRI|GARANZIA)\\.DAT$|^CANCELLA\\.MOV$|^\\d{4}"
          "_818_RGM\\.DAT$"),
       TRecMovimento::Size,
       Family::Register,
       kRegisterDates,
       {}},
  };
  return kinds;
}

QList<TextField> textFieldsFor(Family f) {
  switch (f) {
  case Family::Company:
    return textFieldsOf<TRecAzienda>();
  case Family::Table:
    return textFieldsOf<TRecTabella>();
  case Family::EadHeader:
    return textFieldsOf<TRecEad>();
  case Family::EadLine:
    return textFieldsOf<TRecDettaglio>();
  default:
    return textFieldsOf<TRecMovimento>();
  }
}

template <class R> int offsetOf(const QString &name) {
  for (const auto &f : R::fields())
    if (QLatin1String(f.name) == name)
      return f.offset;
  return -1;
}

int offsetFor(Family f, const QString &name) {
  return f == Family::EadHeader ? offsetOf<TRecEad>(name)
                                : offsetOf<TRecMovimento>(name);
}

QString day(double v) { return dates::ddmmyyyy(v); }

double wholeDay(double v) { return std::round(v); }

// A file read whole, with its records when its size is a whole number of them.
struct Loaded {
  QString rel;  // as reported
  QString name; // upper-case bare name
  const FileKind *kind = nullptr;
  QList<QByteArray> records;
  bool sound = false;
};

class Checker {
public:
  explicit Checker(const QString &start, const QString &temp)
      : start_(start), temp_(temp) {}

  CheckReport run() {
    scanFolder(QDir(start_).filePath(QStringLiteral("DATI_GEN")),
               QStringLiteral("DATI_GEN"));
    scanFolder(QDir(start_).filePath(QStringLiteral("REGISTRI")),
               QStringLiteral("REGISTRI"));
    if (!temp_.isEmpty())
      scanFolder(temp_, QFileInfo(temp_).fileName());
    checkEadLinks();
    checkRegisters();
    for (const QString &note : restoreLeftovers(start_))
      add(Severity::Warning, QStringLiteral("ripristino-interrotto"), QString(),
          -1, note);
    return std::move(report_);
  }

private:
  void add(Severity s, const QString &kind, const QString &file, qint64 record,
           const QString &text) {
    report_.findings << Finding{s, kind, file, record, text};
  }

  void scanFolder(const QString &folder, const QString &label) {
    const QDir dir(folder);
    if (!dir.exists())
      return;
    const QFileInfoList entries = dir.entryInfoList(
        QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    QSet<QString> names;
    for (const QFileInfo &e : entries)
      names.insert(e.fileName());
    for (const QFileInfo &e : entries) {
      const QString name = e.fileName();
      const QString rel = label + QLatin1Char('/') + name;
      if (name.endsWith(QLatin1Char('$'))) {
        marker(e, rel);
        continue;
      }
      if (name.endsWith(QStringLiteral(".~GRUPPO"))) {
        journal(e, rel);
        continue;
      }
      if (const QString target = atomicfile::temporaryTarget(name);
          !target.isEmpty()) {
        temporary(e, rel, target);
        continue;
      }
      load(e, rel);
    }
  }

  void marker(const QFileInfo &e, const QString &rel) {
    const qint64 minutes =
        e.lastModified().secsTo(QDateTime::currentDateTime()) / 60;
    const QString data = e.fileName().chopped(1);
    add(Severity::Warning, QStringLiteral("blocco"), rel, -1,
        QStringLiteral("%1 è bloccato da %2 minuti (un'altra postazione lo sta "
                       "scrivendo, o una modifica si è "
                       "interrotta)")
            .arg(data)
            .arg(minutes));
  }

  void journal(const QFileInfo &e, const QString &rel) {
    const bool complete = FileGroup::wouldComplete(e.absoluteFilePath());
    const QString data =
        e.fileName().chopped(QStringLiteral(".~GRUPPO").size());
    add(Severity::Warning, QStringLiteral("giornale"), rel, -1,
        QStringLiteral("modifica di più file interrotta presso %1: chi "
                       "scriverà per primo %1 la %2")
            .arg(data, complete ? QStringLiteral("completerà")
                                : QStringLiteral("scarterà")));
  }

  void temporary(const QFileInfo &e, const QString &rel,
                 const QString &target) {
    // A temporary named by a complete journal is moved into place; any other is
    // removed.
    bool completes = false;
    const QDir dir = e.absoluteDir();
    for (const QString &j : dir.entryList({QStringLiteral("*.~GRUPPO")},
                                          QDir::Files | QDir::Hidden)) {
      QFile f(dir.filePath(j));
      if (f.open(QIODevice::ReadOnly) &&
          f.readAll().contains(e.fileName().toUtf8()) &&
          FileGroup::wouldComplete(dir.filePath(j)))
        completes = true;
    }
    add(Severity::Warning, QStringLiteral("temporaneo"), rel, -1,
        QStringLiteral("file temporaneo di una riscrittura interrotta di %1: "
                       "chi scriverà per primo %1 lo %2")
            .arg(target, completes ? QStringLiteral("metterà al suo posto")
                                   : QStringLiteral("scarterà")));
  }

  void load(const QFileInfo &e, const QString &rel) {
    const QString name = e.fileName().toUpper();
    const FileKind *kind = nullptr;
    for (const FileKind &k : fileKinds())
      if (k.name.match(name).hasMatch()) {
        kind = &k;
        break;
      }
    if (!kind)
      return; // pictures, imported CSV files and the like
    QFile f(e.absoluteFilePath());
    if (!f.open(QIODevice::ReadOnly)) {
      add(Severity::Error, QStringLiteral("illeggibile"), rel, -1,
          QStringLiteral("il file non si può leggere"));
      return;
    }
    const QByteArray all = f.readAll();
    ++report_.files;
    Loaded l{rel, name, kind, {}, false};
    if (all.size() % kind->size != 0) {
      add(Severity::Error, QStringLiteral("dimensione"), rel, -1,
          QStringLiteral(
              "lunghezza %1 byte: non è un numero intero di record da %2 byte")
              .arg(all.size())
              .arg(kind->size));
      loaded_ << l;
      return;
    }
    for (qsizetype at = 0; at < all.size(); at += kind->size)
      l.records << all.mid(at, kind->size);
    l.sound = true;
    report_.records += l.records.size();
    const QList<TextField> texts = textFieldsFor(kind->family);
    for (qint64 i = 0; i < l.records.size(); ++i)
      checkRecord(l, i, texts);
    loaded_ << l;
  }

  void checkRecord(const Loaded &l, qint64 i, const QList<TextField> &texts) {
    const QByteArray &r = l.records[i];
    for (const TextField &t : texts) {
      const int len = static_cast<unsigned char>(r.at(t.offset));
      if (len > t.width)
        add(Severity::Error, QStringLiteral("testo"), l.rel, i,
            QStringLiteral("campo %1: lunghezza %2 oltre la sua larghezza %3")
                .arg(QLatin1String(t.name))
                .arg(len)
                .arg(t.width));
    }
    for (const QString &d : l.kind->dates) {
      const double v = codec::getF64(r, offsetFor(l.kind->family, d));
      if (v != 0 && !(std::isfinite(v) && v >= kFirstDay && v < kLastDay + 1))
        add(Severity::Error, QStringLiteral("data"), l.rel, i,
            QStringLiteral("campo %1: data fuori dall'intervallo ammesso (%2)")
                .arg(d, QString::number(v)));
    }
    for (auto it = l.kind->codes.begin(); it != l.kind->codes.end(); ++it) {
      const int off = offsetFor(l.kind->family, it.key());
      const QString v = codec::getText(r, off, 1);
      if (!it.value().contains(v.isEmpty() ? QStringLiteral(" ") : v))
        add(Severity::Error, QStringLiteral("codice"), l.rel, i,
            QStringLiteral("campo %1: codice \"%2\" non previsto")
                .arg(it.key(), v));
    }
  }

  const Loaded *find(const QString &folderLabel, const QString &name) const {
    for (const Loaded &l : loaded_)
      if (l.sound && l.name == name &&
          l.rel.startsWith(folderLabel + QLatin1Char('/')))
        return &l;
    return nullptr;
  }

  static QSet<int> numbersOf(const Loaded *l, int offset) {
    QSet<int> out;
    if (l)
      for (const QByteArray &r : l->records)
        out.insert(codec::getI32(r, offset));
    return out;
  }

  void uniqueNumbers(const Loaded &l, const QString &what) {
    QSet<int> seen;
    for (qint64 i = 0; i < l.records.size(); ++i) {
      const int n = codec::getI32(l.records[i], 0);
      if (seen.contains(n))
        add(Severity::Error, QStringLiteral("numero-ripetuto"), l.rel, i,
            QStringLiteral("%1 %2 ripetuto").arg(what).arg(n));
      seen.insert(n);
    }
  }

  // e-AD lines and messages against their e-AD (same year).
  void checkEadLinks() {
    static const QRegularExpression yearly(QStringLiteral(
        "^(\\d{4})_(815_A|815_I|815_C|810|813|813_P|818_J|818_K)\\.DAT$"));
    for (const Loaded &l : loaded_) {
      if (!l.sound || !l.rel.startsWith(QStringLiteral("REGISTRI/")))
        continue;
      const auto m = yearly.match(l.name);
      if (!m.hasMatch())
        continue;
      const QString y = m.captured(1);
      const QString part = m.captured(2);
      auto file = [&](const char *suffix) {
        return find(QStringLiteral("REGISTRI"), y + QLatin1String(suffix));
      };
      if (part == QLatin1String("815_A")) {
        uniqueNumbers(l, QStringLiteral("progressivo e-AD"));
        const QSet<int> products = numbersOf(file("_815_C.DAT"), 4);
        for (qint64 i = 0; i < l.records.size(); ++i) {
          const int p = codec::getI32(l.records[i], 0);
          if (!products.contains(p))
            add(Severity::Error, QStringLiteral("testata-senza-righe"), l.rel,
                i,
                QStringLiteral(
                    "l'e-AD %1 non ha righe di prodotto in %2_815_C.DAT")
                    .arg(p)
                    .arg(y));
        }
      } else if (part == QLatin1String("815_I") ||
                 part == QLatin1String("815_C")) {
        uniqueNumbers(l, QStringLiteral("numero di riga"));
        orphanLines(l, numbersOf(file("_815_A.DAT"), 0), QStringLiteral("e-AD"),
                    y + QStringLiteral("_815_A.DAT"));
      } else if (part == QLatin1String("813_P")) {
        orphanLines(l, numbersOf(file("_813.DAT"), 0),
                    QStringLiteral("cambio di destinazione"),
                    y + QStringLiteral("_813.DAT"));
      } else if (part == QLatin1String("818_K")) {
        orphanLines(l, numbersOf(file("_818_J.DAT"), 0),
                    QStringLiteral("nota di ricezione"),
                    y + QStringLiteral("_818_J.DAT"));
      } else if (part == QLatin1String("810") || part == QLatin1String("813")) {
        uniqueNumbers(l, part == QLatin1String("810")
                             ? QStringLiteral("annullamento")
                             : QStringLiteral("cambio"));
        const QSet<int> eads = numbersOf(file("_815_A.DAT"), 0);
        const int offset = part == QLatin1String("810") ? 0 : 56;
        const QString what = part == QLatin1String("810")
                                 ? QStringLiteral("annullamento")
                                 : QStringLiteral("cambio di destinazione");
        for (qint64 i = 0; i < l.records.size(); ++i) {
          const int p = codec::getI32(l.records[i], offset);
          if (!eads.contains(p))
            add(Severity::Error, QStringLiteral("messaggio-senza-ead"), l.rel,
                i,
                QStringLiteral("%1 dell'e-AD %2, che non è in %3_815_A.DAT")
                    .arg(what)
                    .arg(p)
                    .arg(y));
        }
      } else if (part == QLatin1String("818_J")) {
        uniqueNumbers(l, QStringLiteral("nota di ricezione"));
      }
    }
  }

  void orphanLines(const Loaded &l, const QSet<int> &owners,
                   const QString &what, const QString &ownerFile) {
    for (qint64 i = 0; i < l.records.size(); ++i) {
      const int p = codec::getI32(l.records[i], 4);
      if (!owners.contains(p))
        add(Severity::Error, QStringLiteral("righe-orfane"), l.rel, i,
            QStringLiteral("riga di %1 %2, che non è in %3")
                .arg(what)
                .arg(p)
                .arg(ownerFile));
    }
  }

  // ---- register ----
  static bool commits(const TRecMovimento &r) {
    static const QStringList docs = {"EAD", "FBE", "DAA", "COD", "FBC"};
    return docs.contains(r.tipoDocumento.trimmed()) &&
           r.operazione == QLatin1String("I") && r.stato != QLatin1String("C");
  }
  static bool releases(const TRecMovimento &r) {
    const QString doc = r.tipoDocumento.trimmed();
    return ((doc == QLatin1String("ROR") || doc == QLatin1String("FBR")) &&
            r.operazione == QLatin1String("I") &&
            r.tipoMovimento == QLatin1String("A")) ||
           (r.operazione == QLatin1String("A") &&
            r.stato != QLatin1String("C"));
  }

  QList<TRecMovimento> registerOf(const QString &name) const {
    QList<TRecMovimento> out;
    if (const Loaded *l = find(QStringLiteral("REGISTRI"), name))
      for (const QByteArray &r : l->records)
        out << decodeRegisterRecord(r);
    return out;
  }

  void checkRegisters() {
    static const QRegularExpression yearly(
        QStringLiteral("^(\\d{4})\\.(RGM|GAR)$"));
    for (const Loaded &l : loaded_) {
      if (!l.sound || !l.rel.startsWith(QStringLiteral("REGISTRI/")))
        continue;
      if (l.name == QLatin1String("RIPORTI.GAR")) {
        uniqueNumbers(l, QStringLiteral("anno di riporto"));
        continue;
      }
      const auto m = yearly.match(l.name);
      if (!m.hasMatch())
        continue;
      QList<TRecMovimento> recs;
      for (const QByteArray &r : l.records)
        recs << decodeRegisterRecord(r);
      uniqueNumbers(l, QStringLiteral("numero"));
      dateOrder(l, recs);
      numbering(l, recs);
      links(l, recs);
      if (m.captured(2) == QLatin1String("GAR"))
        balances(l, recs, m.captured(1).toInt());
    }
  }

  void dateOrder(const Loaded &l, const QList<TRecMovimento> &recs) {
    for (qint64 i = 1; i < recs.size(); ++i)
      if (wholeDay(recs[i].data) < wholeDay(recs[i - 1].data))
        add(Severity::Error, QStringLiteral("ordine-date"), l.rel, i,
            QStringLiteral("record %1 del %2 dopo il record %3 del %4")
                .arg(recs[i].numero)
                .arg(day(recs[i].data))
                .arg(recs[i - 1].numero)
                .arg(day(recs[i - 1].data)));
  }

  // A line of the register has its own progressivo; the cancellation and the
  // replacement of a rectification repeat the one of the line they rectify.
  static bool ownsProgressivo(const TRecMovimento &r) {
    return r.operazione != QLatin1String("C") &&
           !(r.operazione == QLatin1String("I") && r.collegato != 0);
  }
  static bool sent(const TRecMovimento &r) {
    return r.dataFlusso != 0 || r.numeroFlusso != 0;
  }

  void numbering(const Loaded &l, const QList<TRecMovimento> &recs) {
    std::map<int, qint64> seen;
    int highest = 0;
    for (qint64 i = 0; i < recs.size(); ++i) {
      const TRecMovimento &r = recs[i];
      if (!ownsProgressivo(r) || !sent(r))
        continue;
      if (seen.count(r.progressivo))
        add(Severity::Error, QStringLiteral("progressivo-ripetuto"), l.rel, i,
            QStringLiteral("progressivo %1 già inviato con il record %2")
                .arg(r.progressivo)
                .arg(recs[seen[r.progressivo]].numero));
      else
        seen[r.progressivo] = i;
      highest = std::max(highest, r.progressivo);
    }
    QList<int> holes;
    for (int p = 1; p < highest; ++p)
      if (!seen.count(p))
        holes << p;
    if (!holes.isEmpty()) {
      QStringList h;
      for (int p : holes)
        h << QString::number(p);
      add(Severity::Error, QStringLiteral("progressivo-buco"), l.rel, -1,
          QStringLiteral(
              "progressivi mancanti tra le righe inviate (fino a %1): %2")
              .arg(highest)
              .arg(h.join(QStringLiteral(", "))));
    }
  }

  void links(const Loaded &l, const QList<TRecMovimento> &recs) {
    QMap<int, qint64> byNumber;
    for (qint64 i = 0; i < recs.size(); ++i)
      byNumber.insert(recs[i].numero, i);
    QSet<int>
        cancelledBy; // numbers that a cancellation (or a replacement) points to
    for (qint64 i = 0; i < recs.size(); ++i) {
      const TRecMovimento &r = recs[i];
      if (r.collegato == 0)
        continue;
      const bool rectification = r.operazione == QLatin1String("C") ||
                                 r.stato == QLatin1String("R") ||
                                 r.operazione == QLatin1String("D");
      if (rectification)
        cancelledBy.insert(r.collegato);
      if (!byNumber.contains(r.collegato)) {
        add(Severity::Error, QStringLiteral("collegato-inesistente"), l.rel, i,
            QStringLiteral(
                "il record %1 è collegato al record %2, che non esiste")
                .arg(r.numero)
                .arg(r.collegato));
        continue;
      }
      const TRecMovimento &o = recs[byNumber[r.collegato]];
      QString wrong;
      if (r.operazione == QLatin1String("C") || r.stato == QLatin1String("R")) {
        if (o.tipoMovimento != r.tipoMovimento || o.registro != r.registro)
          wrong = QStringLiteral(
              "una rettifica deve riferirsi a un record dello stesso tipo");
        else if (o.progressivo != r.progressivo)
          wrong = QStringLiteral(
              "una rettifica ripete il progressivo del record rettificato");
      } else if (r.operazione == QLatin1String("D")) {
        if (o.operazione != QLatin1String("A"))
          wrong = QStringLiteral("l'annullamento di una conclusione deve "
                                 "riferirsi a una conclusione");
      } else if (r.operazione == QLatin1String("A")) {
        if (o.tipoMovimento != QLatin1String("S"))
          wrong =
              QStringLiteral("una conclusione deve riferirsi a uno scarico");
      }
      if (!wrong.isEmpty())
        add(Severity::Error, QStringLiteral("collegato-errato"), l.rel, i,
            QStringLiteral("il record %1 è collegato al record %2: %3")
                .arg(r.numero)
                .arg(r.collegato)
                .arg(wrong));
    }
    for (qint64 i = 0; i < recs.size(); ++i)
      if (recs[i].stato == QLatin1String("C") &&
          !cancelledBy.contains(recs[i].numero))
        add(Severity::Error, QStringLiteral("annullato-senza-storno"), l.rel, i,
            QStringLiteral("il record %1 è annullato (\"C\") ma nessun record "
                           "di storno vi si collega")
                .arg(recs[i].numero));
  }

  // Balance at the end of a year from the files alone: the carry-over of the
  // year before it, the deposits less the redemptions of its guarantee days,
  // the guarantee its movements committed and released.
  double balanceAtEndOf(int year) const {
    double a = 0;
    if (const Loaded *c =
            find(QStringLiteral("REGISTRI"), QStringLiteral("RIPORTI.GAR")))
      for (const QByteArray &r : c->records)
        if (codec::getI32(r, 0) == year - 1)
          a = decodeRegisterRecord(r).disponibile();
    for (const TRecMovimento &g :
         registerOf(QString::number(year) + QStringLiteral(".GAR")))
      if (g.operazione == QLatin1String("I") && g.stato != QLatin1String("C"))
        a += g.nuovaCauzione() - g.riscattata();
    for (const TRecMovimento &m :
         registerOf(QString::number(year) + QStringLiteral(".RGM"))) {
      if (commits(m))
        a -= m.garanzia;
      else if (releases(m))
        a += m.garanzia;
    }
    return a;
  }

  void balances(const Loaded &l, const QList<TRecMovimento> &days, int year) {
    const double opening = balanceAtEndOf(year - 1);
    const QList<TRecMovimento> moves =
        registerOf(QString::number(year) + QStringLiteral(".RGM"));
    for (qint64 i = 0; i < days.size(); ++i) {
      const TRecMovimento &g = days[i];
      if (g.operazione != QLatin1String("I") || g.stato == QLatin1String("C"))
        continue;
      const double d = wholeDay(g.data);
      double a = opening;
      for (const TRecMovimento &o : days)
        if (o.operazione == QLatin1String("I") &&
            o.stato != QLatin1String("C") && wholeDay(o.data) < d)
          a += o.nuovaCauzione() - o.riscattata();
      for (const TRecMovimento &m : moves) {
        if (wholeDay(m.data) >= d)
          continue;
        if (commits(m))
          a -= m.garanzia;
        else if (releases(m))
          a += m.garanzia;
      }
      const double expected = a - g.impegnato() + g.svincolato() +
                              g.nuovaCauzione() - g.riscattata();
      if (std::fabs(expected - g.disponibile()) > 0.005)
        add(Severity::Error, QStringLiteral("saldo-garanzia"), l.rel, i,
            QStringLiteral(
                "garanzia del %1: disponibile %2, il saldo progressivo dà %3")
                .arg(day(g.data), QString::number(g.disponibile(), 'f', 2),
                     QString::number(expected, 'f', 2)));
    }
  }

  QString start_;
  QString temp_;
  QList<Loaded> loaded_;
  CheckReport report_;
};

QString severityName(Severity s) {
  return s == Severity::Error ? QStringLiteral("ERRORE")
                              : QStringLiteral("AVVISO");
}

} // namespace

int CheckReport::errors() const {
  int n = 0;
  for (const Finding &f : findings)
    n += f.severity == Severity::Error;
  return n;
}

int CheckReport::warnings() const { return int(findings.size()) - errors(); }

CheckReport checkFolder(const QString &startFolder, const QString &tempFolder) {
  return Checker(startFolder, tempFolder).run();
}

QString toText(const CheckReport &report) {
  QString out;
  for (const Finding &f : report.findings) {
    out +=
        severityName(f.severity) + QLatin1Char(' ') + f.kind + QLatin1Char(' ');
    if (!f.file.isEmpty())
      out += f.file +
             (f.record >= 0 ? QStringLiteral(" record %1").arg(f.record)
                            : QString()) +
             QStringLiteral(": ");
    out += f.text + QLatin1Char('\n');
  }
  out += QStringLiteral("%1 errori, %2 avvisi; letti %3 file, %4 record\n")
             .arg(report.errors())
             .arg(report.warnings())
             .arg(report.files)
             .arg(report.records);
  return out;
}

QJsonObject toJson(const CheckReport &report) {
  QJsonArray list;
  for (const Finding &f : report.findings) {
    QJsonObject o{{QStringLiteral("gravita"), f.severity == Severity::Error
                                                  ? QStringLiteral("errore")
                                                  : QStringLiteral("avviso")},
                  {QStringLiteral("tipo"), f.kind},
                  {QStringLiteral("testo"), f.text}};
    if (!f.file.isEmpty())
      o.insert(QStringLiteral("file"), f.file);
    if (f.record >= 0)
      o.insert(QStringLiteral("record"), f.record);
    list << o;
  }
  return {{QStringLiteral("rilievi"), list},
          {QStringLiteral("errori"), report.errors()},
          {QStringLiteral("avvisi"), report.warnings()},
          {QStringLiteral("file"), report.files},
          {QStringLiteral("record"), report.records}};
}

} // namespace vt::health
