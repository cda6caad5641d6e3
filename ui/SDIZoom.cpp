// Zoom of a base form by the operator's font: the recorded design geometry,
// the form's proportional scaling by ZoomDpi and the row heights and column
// widths of its tables and trees.
#include "ui/SDIZoom.h"

#include "ui/SDI.h"
#include "ui/xPlButton.h"

#include "common/AccRecord.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QStackedWidget>
#include <QTabWidget>
#include <QLayout>
#include <QTableView>
#include <QTreeView>

#include <cmath>

namespace {

int truncMul(double value, double ratio)
{
    return static_cast<int>(std::trunc(value * ratio));
}

QHeaderView *columnHeader(const QWidget *AWidget)
{
    if (auto *t = qobject_cast<const QTableView *>(AWidget))
        return t->horizontalHeader();
    if (auto *t = qobject_cast<const QTreeView *>(AWidget))
        return t->header();
    return nullptr;
}

// Column widths: from AWidths (recorded) or the header's current widths,
// each multiplied by ARatio and truncated.
void scaleColumns(QWidget *AWidget, const QList<qint16> *AWidths, double ARatio)
{
    QHeaderView *h = columnHeader(AWidget);
    if (!h)
        return;
    for (int j = 0; j < h->count(); ++j) {
        const double w = AWidths ? (j < AWidths->size() ? (*AWidths)[j] : h->sectionSize(j)) : h->sectionSize(j);
        h->resizeSection(j, truncMul(w, ARatio));
    }
}

void scaleRows(QWidget *AWidget, double ARecorded, double ARatio)
{
    if (auto *t = qobject_cast<QTableView *>(AWidget)) {
        const double base = ARecorded > 0 ? ARecorded : t->verticalHeader()->defaultSectionSize();
        t->verticalHeader()->setDefaultSectionSize(std::max(1, truncMul(base, ARatio)));
    }
}

// Whether the form's own design places AWidget: every widget between it
// and the form is a plain container (a widget, frame, group box or the page
// stack of a tab widget). The parts inside a table, a combo box or any
// other composite control are that control's business.
bool placedByForm(const QWidget *AWidget, const QWidget *AForm)
{
    const QWidget *parent = AWidget->parentWidget();
    if (parent && (qobject_cast<const QTabWidget *>(parent) || qobject_cast<const QStackedWidget *>(parent)))
        return false;
    for (const QWidget *p = parent; p && p != AForm; p = p->parentWidget()) {
        const QMetaObject *m = p->metaObject();
        if (m == &QWidget::staticMetaObject || m == &QFrame::staticMetaObject || qobject_cast<const QGroupBox *>(p)
            || qobject_cast<const QStackedWidget *>(p) || qobject_cast<const QTabWidget *>(p))
            continue;
        // A page of a tab widget is a plain widget inside its page stack.
        return false;
    }
    return true;
}

double zoomRaitoOf(int ADecimals)
{
    const TFontInfo &now = SystemDef.NowFont;
    const TFontInfo &def = SystemDef.DefaultFont;
    if (now.Height == 0 || def.Height == 0)
        return 1.0;
    const double f = std::pow(10.0, ADecimals);
    return std::trunc((std::abs(now.Height) / double(std::abs(def.Height)) + 0.000001) * f) / f;
}

} // namespace

bool fnIsGridLike(const QWidget *AWidget)
{
    return qobject_cast<const QTableView *>(AWidget) || qobject_cast<const QTreeView *>(AWidget);
}

void pcRecordGrid(const QWidget *AWidget, TCompGridSize &AGrid, bool AWithRows)
{
    QHeaderView *h = columnHeader(AWidget);
    if (!h)
        return;
    AGrid.ColWidths.clear();
    for (int j = 0; j < h->count(); ++j)
        AGrid.ColWidths << static_cast<qint16>(h->sectionSize(j));
    if (!AWithRows)
        return;
    if (auto *t = qobject_cast<const QTableView *>(AWidget))
        AGrid.RowHeight = t->verticalHeader()->defaultSectionSize();
    AGrid.HeaderHeight = static_cast<qint16>(h->height());
    AGrid.Height2 = 0;
}

// ---------------------------------------------------------------- TBSDI

void TBSDI::FreeControlSize()
{
    if (FSizePar)
        FSizePar->Table.clear();
}

void TBSDI::recordControlSizes()
{
    if (!FSizePar)
        FSizePar = std::make_unique<TSize>();
    TSize &s = *FSizePar;
    s.ResizeFlg = 1;
    QList<QWidget *> widgets;
    for (QWidget *w : findChildren<QWidget *>())
        if (placedByForm(w, this))
            widgets << w;
    if (s.Table.size() != widgets.size()) {
        FreeControlSize();
        for (qsizetype i = 0; i < widgets.size(); ++i)
            s.Table << std::make_shared<TCompSize>();
    }
    s.ComponentCount = static_cast<int>(widgets.size());
    if (s.BaseWidth == 0)
        s.BaseWidth = width();
    if (s.BaseHeight == 0)
        s.BaseHeight = height();
    s.MinWidth = MinWidth();
    s.MinHeight = MinHeight();
    s.FontHeight = std::abs(QFontInfo(font()).pixelSize());
    for (qsizetype i = 0; i < widgets.size(); ++i) {
        QWidget *w = widgets[i];
        TCompSize &e = *s.Table[i];
        e.Widget = w;
        e.Left = w->x();
        e.Top = w->y();
        e.Width = w->width();
        e.Height = w->height();
        e.Tag = w->property("Tag").toInt();
        if (auto *c = qobject_cast<QComboBox *>(w))
            e.ItemHeiht = c->view() ? c->view()->sizeHintForRow(0) : 0;
        if (fnIsGridLike(w)) {
            if (!e.Grid)
                e.Grid = std::make_unique<TCompGridSize>();
            pcRecordGrid(w, *e.Grid, true);
        }
    }
}

void TBSDI::applyZoom(double AFactor)
{
    if (!FSizePar)
        recordControlSizes();
    TSize &s = *FSizePar;
    // The form and the widgets it places itself grow with the zoom; widgets
    // placed by a layout follow their layout and fonts.
    if (std::abs(AFactor - 1.0) > 1e-9) {
        for (const auto &e : s.Table) {
            QWidget *w = e->Widget;
            if (!w || w->isWindow())
                continue;
            QWidget *parent = w->parentWidget();
            if (parent && parent->layout() && parent->layout()->indexOf(w) >= 0)
                continue;
            w->setGeometry(static_cast<int>(std::lround(e->Left * AFactor)), static_cast<int>(std::lround(e->Top * AFactor)),
                           static_cast<int>(std::lround(e->Width * AFactor)),
                           static_cast<int>(std::lround(e->Height * AFactor)));
        }
        const QSize min = minimumSize();
        setMinimumSize(static_cast<int>(min.width() * AFactor), static_cast<int>(min.height() * AFactor));
        FMinWidth = minimumWidth();
        FMinHeight = minimumHeight();
        if (minimumSize() == maximumSize() || (minimumWidth() > 0 && minimumWidth() == maximumWidth()))
            setFixedSize(static_cast<int>(std::lround(s.BaseWidth * AFactor)),
                         static_cast<int>(std::lround(s.BaseHeight * AFactor)));
        else
            resize(static_cast<int>(std::lround(s.BaseWidth * AFactor)),
                   static_cast<int>(std::lround(s.BaseHeight * AFactor)));
    }
    s.InitScale = s.Scale = Scale;
    for (const auto &e : s.Table) {
        QWidget *w = e->Widget;
        if (!w)
            continue;
        if (e->Grid && fnIsGridLike(w)) {
            if (qobject_cast<QTableView *>(w)) {
                scaleRows(w, e->Grid->RowHeight, ZoomRaito);
                scaleColumns(w, &e->Grid->ColWidths, ZoomRaito);
            } else {
                scaleColumns(w, nullptr, ZoomRaito);
            }
        } else if (auto *b = qobject_cast<TxPlButton *>(w)) {
            if (b->Image().PictureEmpty()) {
                b->setCaptionVertCenter(true);
                b->Image().setVertCenter(true);
            }
        }
    }
}

void TBSDI::ResetFSizeParGridUIControl()
{
    if (!FSizePar)
        return;
    for (const auto &e : FSizePar->Table) {
        QWidget *w = e->Widget;
        if (!w || !fnIsGridLike(w))
            continue;
        if (!e->Grid)
            e->Grid = std::make_unique<TCompGridSize>();
        pcRecordGrid(w, *e->Grid, false);
    }
}

void TBSDI::ResetSizeGridUIControl(QWidget *ASender, int ADefValueChange)
{
    ResetFSizeParGridUIControl();
    if (ZoomRaito == 0)
        ZoomRaito = zoomRaitoOf(2);
    if (!ASender || !fnIsGridLike(ASender))
        return;
    if (ADefValueChange == 1) {
        if (auto *t = qobject_cast<QTableView *>(ASender))
            t->verticalHeader()->setDefaultSectionSize(
                std::max(1, truncMul(t->verticalHeader()->defaultSectionSize(), ZoomRaito)));
    }
    scaleColumns(ASender, nullptr, ZoomRaito);
}

const TSize *TBSDI::SizePar() const
{
    return FSizePar.get();
}
