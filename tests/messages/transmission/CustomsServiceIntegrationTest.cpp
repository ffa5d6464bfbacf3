// The real gSOAP client against vt-customs-standin on loopback HTTPS, with flows signed by
// vt-sign-standin. Only 127.0.0.1 is contacted.
#include <QDir>
#include <QFile>
#include <QTcpServer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "messages/flows/FlowName.h"
#include "messages/transmission/OutcomeParser.h"
#include "messages/transmission/Transmission.h"
#include "messages/transmission/soap/GsoapCustomsService.h"
#include "support/Standins.h"

using namespace vt;

namespace {

// Flows written by hand: a 75-character header (user code, flow name, section, VAT number,
// premises, line count) and records with the message prefix, every field ended by TAB.
const QByteArray ValidIE815 =
    "ABCD            ABCD1209.C01            IT0001    12345678901     001 00003\r\n"
    "IE815IT00ABC00001X     LRN-2026-0001         20261209A\t0001\t\r\n"
    "IE815IT00ABC00001X     LRN-2026-0001         20261209C\t0002\t002\t\r\n";
const QByteArray ShortHeaderIE815 =
    "ABCD            ABCD1209.C02            IT0001    12345678901     001 0002\r\n"
    "IE815IT00ABC00001X     LRN-2026-0001         20261209A\t0001\t\r\n";
const QByteArray ValidIE810 =
    "ABCD            ABCD1209.C03            IT0001    12345678901     001 00002\r\n"
    "IE810IT00ABC00001X     26ITB000000000012345720261209D\t0001\t1\t\t\t\r\n";
const QByteArray ValidRegister =
    "ABCD            ABCD1209.C04            IT0001    12345678901     001 00003\r\n"
    "ALCOAVIT00ABC00001X00000000A12345678901     \t1\t0\t0\t0\t0\t0\t2\t\r\n"
    "ALCOAVIT00ABC00001X20261209CS\tP\t\r\n";

class CustomsIntegration : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dir = new QTemporaryDir;
        QDir().mkpath(dir->filePath("standin"));
        standin = new test::CustomsStandin(dir->filePath("standin"));
        signing = new test::SigningFolder(dir->path());
    }
    static void TearDownTestSuite()
    {
        delete standin;
        delete signing;
        delete dir;
    }
    void SetUp() override { ASSERT_TRUE(standin->running()) << standin->error().toStdString(); }

    // The flow signed by vt-sign-standin: the bytes of NAME.p7m.
    static QByteArray signFlow(const QString& name, const QByteArray& flow)
    {
        QFile f(signing->toSign + name);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(flow);
        f.close();
        EXPECT_TRUE(signing->sign());
        return transmit::readSigned(signing->signedDir + flow::signedName(name));
    }

    CustomsEndpoint endpoint() const { return CustomsEndpoint{standin->host(), standin->caFile(), dir->path()}; }

    // put then get of a flow; the outcome attachment's bytes.
    QByteArray sendAndFetch(const QString& name, const QByteArray& flow)
    {
        GsoapCustomsService client;
        const transmit::PutResult put = transmit::put(client, endpoint(), signFlow(name, flow), flow::signedName(name));
        EXPECT_TRUE(put.succeeded) << put.answer.toStdString();
        const QString att = dir->filePath("allegato");
        QFile::remove(att);
        EXPECT_TRUE(transmit::getAttempt(client, endpoint(), flow::outcomeName(flow::signedName(name)), att));
        QFile f(att);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << "no attachment";
        return f.readAll();
    }

    static QTemporaryDir* dir;
    static test::CustomsStandin* standin;
    static test::SigningFolder* signing;
};

QTemporaryDir* CustomsIntegration::dir = nullptr;
test::CustomsStandin* CustomsIntegration::standin = nullptr;
test::SigningFolder* CustomsIntegration::signing = nullptr;

} // namespace

TEST_F(CustomsIntegration, ValidIE815IsAcceptedWithAnArc)
{
    const QByteArray att = sendAndFetch("ABCD1209.C01", ValidIE815);
    const outcome::Outcome o = outcome::parse(att, FlowKind::IE815);
    EXPECT_EQ(o.result.size(), 21) << att.toStdString();
    EXPECT_FALSE(o.result.contains("NEGATIVO"));
    EXPECT_EQ(o.details.value(0), "ARC ATTRIBUITO:  " + o.result);
    // The stand-in kept the signed bytes exactly as sent.
    QFile kept(QDir(standin->storeFolder()).filePath("ABCD1209.C01.p7m"));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), transmit::readSigned(signing->signedDir + "ABCD1209.C01.p7m"));
}

TEST_F(CustomsIntegration, InvalidFlowGetsNegativeLines)
{
    const outcome::Outcome o = outcome::parse(sendAndFetch("ABCD1209.C02", ShortHeaderIE815), FlowKind::IE815);
    EXPECT_EQ(o.result, "ESITO NEGATIVO");
    ASSERT_FALSE(o.details.isEmpty());
    EXPECT_EQ(o.details.first(), "   ///// ESITO NEGATIVO \\\\\\\\\\ ");
    EXPECT_TRUE(o.details.join('\n').contains("RECORD DI TESTA DI 74 CARATTERI")) << o.details.join('\n').toStdString();
}

TEST_F(CustomsIntegration, OtherMessagesAndRegisterFlowsArePositive)
{
    EXPECT_EQ(outcome::parse(sendAndFetch("ABCD1209.C03", ValidIE810), FlowKind::IE810).result, "ESITO POSITIVO");
    const outcome::Outcome reg = outcome::parse(sendAndFetch("ABCD1209.C04", ValidRegister), FlowKind::Register);
    EXPECT_EQ(reg.result, "ESITO POSITIVO");
    EXPECT_EQ(reg.details.value(0), "N° REGISTRAZIONE DEL FILE: 000000000000001");
}

TEST_F(CustomsIntegration, UnsignedBytesAreRefused)
{
    GsoapCustomsService client;
    ASSERT_TRUE(transmit::put(client, endpoint(), ValidIE815, "ABCD1209.C05.p7m").succeeded);
    const QString att = dir->filePath("allegato5");
    ASSERT_TRUE(transmit::getAttempt(client, endpoint(), "ABCD1209.J05.p7m", att));
    QFile f(att);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(outcome::parse(f.readAll(), FlowKind::IE815).result, "ESITO NEGATIVO");
}

TEST_F(CustomsIntegration, OutcomeNotYetAvailableIsAFailedGet)
{
    GsoapCustomsService client;
    const QString att = dir->filePath("allegato6");
    EXPECT_FALSE(transmit::getAttempt(client, endpoint(), "ZZZZ1209.J99.p7m", att));
    EXPECT_FALSE(QFile::exists(att));
    // A name that tries to leave the store is refused.
    EXPECT_FALSE(transmit::getAttempt(client, endpoint(), "../server.pem", att));
    EXPECT_FALSE(QFile::exists(att));
}

TEST_F(CustomsIntegration, ServiceDownGivesErrore)
{
    QTcpServer probe; // a port that was free a moment ago and has nobody listening now
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
    const quint16 port = probe.serverPort();
    probe.close();
    GsoapCustomsService client;
    const CustomsEndpoint down{QStringLiteral("127.0.0.1:%1").arg(port), standin->caFile(), dir->path()};
    const transmit::PutResult r = transmit::put(client, down, "x", "ABCD1209.C01.p7m");
    EXPECT_TRUE(r.connectionFailed);
    EXPECT_EQ(r.answer, "ERRORE");
    EXPECT_FALSE(r.succeeded);
}

TEST_F(CustomsIntegration, UntrustedCertificateIsRefused)
{
    GsoapCustomsService client;
    // Without the stand-in's CA only the system store is trusted, which does not know it.
    const CustomsEndpoint untrusted{standin->host(), QString(), dir->path()};
    const CustomsReply r = client.put(untrusted, "x", "ABCD1209.C07.p7m");
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(QFile::exists(QDir(standin->storeFolder()).filePath("ABCD1209.C07.p7m")));
    // Nor does another self-signed certificate for the same name help.
    const QString other = dir->filePath("other.pem"), otherCert = dir->filePath("other-cert.pem");
    ASSERT_TRUE(test::makeServerCertificate(other, otherCert, "localhost"));
    EXPECT_FALSE(client.put(CustomsEndpoint{standin->host(), otherCert, dir->path()}, "x", "ABCD1209.C07.p7m").ok);
    EXPECT_FALSE(QFile::exists(QDir(standin->storeFolder()).filePath("ABCD1209.C07.p7m")));
}
