#include "BillFixture.h"
#include "PdfWords.h"

#include "bills/ProofWindow.h"
#include "support/CliProcess.h"

#include <QAction>
#include <QApplication>
#include <QPdfDocument>
#include <QPdfSelection>
#include <QPdfView>

#include <QProcess>

namespace pennock::test {

namespace {

QString u(const char* text) { return QString::fromUtf8(text); }

// The images of a PDF's first page as `pdfimages -list` gives them: width, height and the
// resolution their placement gives them.
struct PlacedImage
{
    int width = 0;
    int height = 0;
    double xPpi = 0;
    double yPpi = 0;
};

QList<PlacedImage> images(const QString& pdf)
{
    QProcess list;
    list.start(QStringLiteral("pdfimages"), { QStringLiteral("-list"), pdf });
    EXPECT_TRUE(list.waitForFinished(30000));
    QList<PlacedImage> out;
    const QStringList lines
        = QString::fromUtf8(list.readAllStandardOutput()).split(QLatin1Char('\n'));
    for (const QString& line : lines.mid(2)) {
        const QStringList f = line.simplified().split(QLatin1Char(' '));
        if (f.size() >= 14 && f[0] == u"1")
            out.append({ f[3].toInt(), f[4].toInt(), f[12].toDouble(), f[13].toDouble() });
    }
    return out;
}

class ProofTest : public BillFixture
{
};

} // namespace

TEST_F(ProofTest, ProofLaysTheValuesOfThePlainPdfOverTheWholeFormPicture)
{
    const std::pair<const char*, QStringList> bills[] = {
        { "支票", { u("--amount"), u("1234.5"), u("--set"), u("zdInComp=收款公司") } },
        { "快递单", { u("--set"), u("zdSKRLXR=收件人乙"), u("--set"), u("zdHKRLXR=寄件人甲") } },
        { "普通发票收据", { u("--set"), u("zdDJ1=88"), u("--set"), u("zdGKMC=客户甲") } },
    };
    for (const auto& [kind, values] : bills) {
        SCOPED_TRACE(kind);
        const QString plain = home.file(QStringLiteral("plain.pdf"));
        const QString proof = home.file(QStringLiteral("proof.pdf"));
        const QStringList bill
            = QStringList { u("print"), u("--home"), home.path(), u("--kind"), u(kind) } + values;
        const CliRun a = runCliProcess(bill + QStringList { u("--pdf"), plain });
        const CliRun b = runCliProcess(bill + QStringList { u("--proof"), proof });
        ASSERT_EQ(a.exitCode, 0) << a.err.toStdString();
        ASSERT_EQ(b.exitCode, 0) << b.err.toStdString();
        EXPECT_TRUE(b.out.startsWith(u("proof of "))) << b.out.toStdString();

        const auto plainPages = readPdfWords(plain);
        const auto proofPages = readPdfWords(proof);
        ASSERT_EQ(plainPages.size(), 1);
        ASSERT_EQ(proofPages.size(), 1);
        EXPECT_EQ(proofPages[0].sizeMm, plainPages[0].sizeMm);
        ASSERT_FALSE(plainPages[0].words.isEmpty());
        // Every printed word stands on the proof where it stands on the plain PDF (the form
        // picture is an image and adds no words).
        ASSERT_EQ(proofPages[0].words.size(), plainPages[0].words.size());
        for (qsizetype i = 0; i < plainPages[0].words.size(); ++i) {
            const auto& p = plainPages[0].words[i];
            const auto& q = proofPages[0].words[i];
            EXPECT_EQ(q.text, p.text);
            EXPECT_NEAR(q.left, p.left, 0.05);
            EXPECT_NEAR(q.top, p.top, 0.05);
        }
        // One picture, stretched over the whole page.
        const QList<PlacedImage> pictures = images(proof);
        ASSERT_EQ(pictures.size(), 1);
        const double widthIn = proofPages[0].sizeMm.width() / 25.4;
        const double heightIn = proofPages[0].sizeMm.height() / 25.4;
        EXPECT_NEAR(pictures[0].xPpi, pictures[0].width / widthIn, 1.5);
        EXPECT_NEAR(pictures[0].yPpi, pictures[0].height / heightIn, 1.5);
        EXPECT_TRUE(images(plain).isEmpty()) << "the plain PDF carries no picture";
    }
}

TEST_F(ProofTest, FormShowsTheProofInItsOwnWindowWithZoomAndPrint)
{
    // No outside viewer is asked, installed or not.
    QStringList opened;
    env.openFile = [&opened](const QString& path) { opened << path; };
    auto form = openCheque();
    form->show();
    ASSERT_TRUE(form->button(u("btProof"))->isEnabled());
    enterAmount(*form, u("99"));
    click(*form, "btProof");
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_TRUE(prompter.entries().isEmpty());
    ui::ProofWindow* window = form->proofWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->windowTitle().startsWith(u("打印预览")));
    EXPECT_EQ(window->view()->document(), window->document());
    ASSERT_EQ(window->document()->status(), QPdfDocument::Status::Ready);
    ASSERT_EQ(window->document()->pageCount(), 1);
    EXPECT_TRUE(window->document()->getAllText(0).text().contains(u("99.00")));
    const QString path = home.file(u("Temp/fmCheckZP-proof.pdf"));
    EXPECT_EQ(readPdfWords(path).size(), 1);
    EXPECT_EQ(images(path).size(), 1) << "the values over the form picture";

    // Zoom goes on from the page as fitted, and back to fitting.
    const double fitted = window->shownZoom();
    ASSERT_GT(fitted, 0);
    window->action(u("acZoomIn"))->trigger();
    EXPECT_NEAR(window->shownZoom(), fitted * 1.25, 1e-9);
    window->action(u("acZoomOut"))->trigger();
    window->action(u("acZoomOut"))->trigger();
    EXPECT_NEAR(window->shownZoom(), fitted / 1.25, 1e-9);
    window->action(u("acFitPage"))->trigger();
    EXPECT_EQ(window->view()->zoomMode(), QPdfView::ZoomMode::FitInView);
    window->action(u("acFitWidth"))->trigger();
    EXPECT_EQ(window->view()->zoomMode(), QPdfView::ZoomMode::FitToWidth);

    // Its print is the form's: one job with the bill's values.
    const int before = canvas.documentsEnded();
    window->action(u("acPrint"))->trigger();
    EXPECT_EQ(canvas.documentsEnded() - before, 1);
    EXPECT_TRUE(printed().join(u(" ")).contains(u("99.00")));

    // A second preview shows the bill as it is now, in the same window.
    enterAmount(*form, u("12"));
    click(*form, "btProof");
    EXPECT_EQ(form->proofWindow(), window);
    ASSERT_EQ(window->document()->status(), QPdfDocument::Status::Ready);
    EXPECT_TRUE(window->document()->getAllText(0).text().contains(u("12.00")));
    EXPECT_FALSE(window->document()->getAllText(0).text().contains(u("99.00")));
    window->action(u("acClose"))->trigger();
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(form->proofWindow(), nullptr);
}

TEST_F(ProofTest, CommandTakesOneDestination)
{
    const CliRun r = runCliProcess({ u("print"), u("--home"), home.path(), u("--kind"), u("支票"),
        u("--pdf"), home.file(u("a.pdf")), u("--proof"), home.file(u("b.pdf")) });
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains(u("print: give either --pdf FILE, --proof FILE or --printer NAME")));
}

} // namespace pennock::test
