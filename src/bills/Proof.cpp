#include "bills/Proof.h"

#include "bills/Bill.h"
#include "bills/TemplateFace.h"
#include "printing/PdfCanvas.h"
#include "printing/PrintEngine.h"
#include "printing/Services.h"
#include "printing/TemplateTestPrint.h"
#include "store/ProgramFolder.h"

#include <QImage>

namespace pennock::core {

QString printProof(
    Services& services, const Bill& bill, const QString& currencyCode, const QString& path)
{
    const QSize paper = templatePaperSize(services.db(), bill.templateId);
    PdfCanvas canvas(path, PdfCanvas::paperLayout(paper.width(), paper.height()));
    PrintEngine& engine = services.printEngine();
    PrintCanvas* before = engine.canvas();
    engine.setCanvas(&canvas);
    const auto restore = qScopeGuard([&engine, before] { engine.setCanvas(before); });
    // The sheet as it lies in the printer: a proof of the paper is not turned.
    const std::optional<QPoint> offset = engine.prepareJob(bill.templateId, false);
    if (!offset)
        return QStringLiteral("Err:\"\"没有进行初始化，无法取得整体打印偏移量！");
    if (!engine.beginJob(1))
        return canvas.errorString();
    const std::optional<TemplateFace> face = TemplateFace::load(services.db(), bill.templateId);
    QImage picture;
    if (face && !face->imageFile.isEmpty())
        picture.load(services.folder().path(QStringLiteral("Image/") + face->imageFile));
    if (!picture.isNull())
        canvas.drawPicture(picture);
    sendBillToPrinter(services.db(), engine, bill, currencyCode, offset->x(), offset->y());
    if (!engine.endJob())
        return canvas.errorString();
    return {};
}

} // namespace pennock::core
