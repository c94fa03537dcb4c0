#include "platform/forms/detail/controls.h"

#include "platform/forms/detail/runtime.h"
#include "platform/forms/runtime_error.h"
#include "platform/raster/syscolor.h"
#include "platform/raster/text.h"
#include "platform/raster/text_layout.h"

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <algorithm>
#include <cmath>

namespace qm::forms::detail {

namespace {

std::string crlfToLf(std::string s)
{
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n')
            continue;
        out += s[i] == '\r' ? '\n' : s[i];
    }
    return out;
}

std::string lfToCrlf(const std::string& s)
{
    std::string out;
    for (char c : s) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

constexpr int kWindowFrame = 6; // system colour of a flat single border
constexpr int kButtonShadow = 16; // the text of a disabled label
constexpr int kButtonHighlight = 20; // and its highlight

// The character the caption's "&" marks, or "" for none.
std::string mnemonicOf(const std::string& caption)
{
    const auto p = gfx::parsePrefix(caption);
    return p.underline < 0 ? std::string() : p.text.substr(std::size_t(p.underline), 1);
}

// Labels and images: drawn by the form's runtime, clicked with the left button.
class DrawnWidget : public QWidget {
public:
    DrawnWidget(QWidget* parent, ControlImpl* control)
        : QWidget(parent)
        , control_(control)
    {
    }

protected:
    // Draws the flat one-pixel border when asked; returns the area inside it.
    QRect border(QPainter& p, bool bordered) const
    {
        if (!bordered)
            return rect();
        p.setPen(QColor(0, 0, 0));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
        return rect().adjusted(1, 1, -1, -1);
    }
    void mousePressEvent(QMouseEvent* e) override { pressed_ = e->button() == Qt::LeftButton; }
    void mouseReleaseEvent(QMouseEvent* e) override
    {
        const bool click
            = pressed_ && e->button() == Qt::LeftButton && rect().contains(e->position().toPoint());
        pressed_ = false;
        if (click && control_->form.userMode)
            control_->raiseClick();
    }
    void mouseDoubleClickEvent(QMouseEvent* e) override
    {
        if (e->button() == Qt::LeftButton && control_->form.userMode)
            control_->raiseDblClick();
    }

private:
    ControlImpl* control_;
    bool pressed_ = false;
};

class LabelWidget : public DrawnWidget {
public:
    LabelWidget(QWidget* parent, LabelImpl* label)
        : DrawnWidget(parent, label)
        , label_(label)
    {
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        const QImage img = label_->image();
        if (!img.isNull())
            QPainter(this).drawImage(0, 0, img);
    }

private:
    LabelImpl* label_;
};

class ImageWidget : public DrawnWidget {
public:
    ImageWidget(QWidget* parent, ImageImpl* image)
        : DrawnWidget(parent, image)
        , image_(image)
    {
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        const ImageImpl& im = *image_;
        const QRect inner = border(p, im.borderStyle != 0);
        if (im.image.isNull())
            return;
        if (im.stretch)
            p.drawImage(inner, im.image);
        else
            p.drawImage(inner.topLeft(), im.image);
    }

private:
    ImageImpl* image_;
};

} // namespace

// ---- ControlImpl ----------------------------------------------------------------------

ControlImpl::ControlImpl(FormImpl& f, const ControlDescription& desc, Control* m)
    : form(f)
    , member(m)
    , name(desc.Name)
    , type(desc.Type)
{
    const PropertyBag& s = desc.Settings;
    tabIndex = s.ReadInt16("TabIndex", 0);
    tabStop = s.ReadBool("TabStop", true);
    tag = s.ReadString("Tag", "");
    left = s.ReadInt32("Left", 0);
    top = s.ReadInt32("Top", 0);
    width = s.ReadInt32("Width", 0);
    height = s.ReadInt32("Height", 0);
}

ControlImpl::~ControlImpl() = default;

void ControlImpl::applyGeometry()
{
    if (QWidget* w = widget())
        w->setGeometry(
            twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height));
}

void ControlImpl::setEnabled(bool e)
{
    if (QWidget* w = widget())
        w->setEnabled(e);
}

bool ControlImpl::enabled() const
{
    QWidget* w = widget();
    return w ? w->isEnabled() : true;
}

void ControlImpl::raiseClick()
{
    if (member && member->Click)
        form.fire(member->Click);
}

void ControlImpl::raiseDblClick()
{
    if (member && member->DblClick)
        form.fire(member->DblClick);
}

// ---- Label ----------------------------------------------------------------------------

LabelImpl::LabelImpl(FormImpl& f, const ControlDescription& desc, Control* m)
    : ControlImpl(f, desc, m)
    , font(f.font)
{
    const PropertyBag& s = desc.Settings;
    caption = s.ReadString("Caption", "");
    foreColor = s.ReadColor("ForeColor", f.foreColor);
    backColor = s.ReadColor("BackColor", f.backColor);
    backStyle = s.ReadInt16("BackStyle", 1);
    borderStyle = s.ReadInt16("BorderStyle", 0);
    alignment = s.ReadInt16("Alignment", 0);
    if (auto fnt = s.ReadFont("Font"))
        font = *fnt;
    auto* w = new LabelWidget(f.window, this);
    w_ = w;
    w->setAttribute(Qt::WA_NoSystemBackground);
    w->setVisible(s.ReadBool("Visible", true));
    w->setEnabled(s.ReadBool("Enabled", true));
    setPointer(s.ReadInt16("MousePointer", 0), s.ReadPicture("MouseIcon"));
    applyGeometry();
}

void LabelImpl::setPointer(std::int16_t pointer, const PictureData& icon)
{
    mousePointer = pointer;
    mouseIcon = icon;
    if (auto c = cursorFor(pointer, icon))
        w_->setCursor(*c);
    else
        w_->unsetCursor();
}

const gfx::Font& LabelImpl::realisedFont()
{
    gfx::LogFont lf;
    // Character height in pixels: points at the screen's logical resolution.
    lf.height = -int(std::lround(font.Size * 20.0 / twipsPerPixel()));
    lf.weight = font.Weight;
    lf.italic = font.Italic;
    lf.underline = font.Underline;
    lf.strikeOut = font.Strikethrough;
    lf.faceName = font.Name;
    if (!realised_ || lf != realisedFor_) {
        realised_ = gfx::Font::create(lf);
        realisedFor_ = lf;
    }
    return realised_;
}

void LabelImpl::draw(gfx::DC& dc)
{
    gfx::Rect r = dc.bitmap().rect();
    if (backStyle != 0)
        dc.fillRect(r, gfx::Brush::solid(toColorRef(backColor)));
    if (borderStyle != 0) {
        dc.select(gfx::Pen::create(gfx::PenStyle::Solid, 1, gfx::GetSysColor(kWindowFrame)));
        dc.select(gfx::Brush::null());
        dc.rectangle(r);
        r = { r.left + 1, r.top + 1, r.right - 1, r.bottom - 1 };
    }
    dc.select(realisedFont());
    dc.setBkMode(gfx::kTransparent);
    const unsigned align = alignment == 1 ? gfx::DT_RIGHT
        : alignment == 2                  ? gfx::DT_CENTER
                                          : gfx::DT_LEFT;
    if (!enabled()) {
        // Disabled: engraved, a highlight one pixel down and right under the shadow-coloured text.
        gfx::Rect shifted = r.translated(1, 1);
        dc.setTextColor(gfx::GetSysColor(kButtonHighlight));
        gfx::drawText(dc, caption, shifted, gfx::DT_WORDBREAK | align);
        dc.setTextColor(gfx::GetSysColor(kButtonShadow));
    } else {
        dc.setTextColor(toColorRef(foreColor));
    }
    gfx::drawText(dc, caption, r, gfx::DT_WORDBREAK | align);
}

QImage LabelImpl::image()
{
    const int w = w_->width();
    const int h = w_->height();
    if (w <= 0 || h <= 0)
        return {};
    gfx::DC dc = gfx::DC::createMemory();
    gfx::Bitmap drawn = gfx::Bitmap::createColor(w, h);
    dc.select(drawn);
    draw(dc);
    if (backStyle != 0)
        return imageOf(drawn).copy();
    // Transparent: drawn once over black (above) and once over white. Where both agree the
    // label painted; where they differ fully it painted nothing; in between (smoothed glyph
    // edges) the difference is the coverage, and the pixel over black its premultiplied colour.
    gfx::Bitmap overWhite = gfx::Bitmap::createColor(w, h, gfx::rgb(255, 255, 255));
    dc.select(overWhite);
    draw(dc);
    QImage out(w, h, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < h; ++y) {
        const std::uint32_t* black = drawn.scanLine(y);
        const std::uint32_t* white = overWhite.scanLine(y);
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const int r = qRed(black[x]), g = qGreen(black[x]), b = qBlue(black[x]);
            const int gap
                = std::max({ qRed(white[x]) - r, qGreen(white[x]) - g, qBlue(white[x]) - b, 0 });
            const int alpha = 255 - gap;
            line[x] = qRgba(std::min(r, alpha), std::min(g, alpha), std::min(b, alpha), alpha);
        }
    }
    return out;
}

std::string LabelImpl::accessKeys() const
{
    return mnemonicOf(caption);
}

void LabelImpl::accessKey(std::int16_t)
{
    // A label's access key gives the focus to the next control in the tab order.
    for (ControlImpl* c : form.tabOrder()) {
        if (c->tabIndex > tabIndex && c->widget()->isVisible() && c->enabled()) {
            c->widget()->setFocus(Qt::ShortcutFocusReason);
            return;
        }
    }
}

// ---- TextBox --------------------------------------------------------------------------

TextBoxImpl::TextBoxImpl(FormImpl& f, const ControlDescription& desc, Control* m)
    : ControlImpl(f, desc, m)
    , font(f.font)
{
    const PropertyBag& s = desc.Settings;
    multiLine = s.ReadBool("MultiLine", false);
    locked = s.ReadBool("Locked", false);
    foreColor = s.ReadColor("ForeColor", 0x80000008);
    backColor = s.ReadColor("BackColor", 0x80000005);
    if (auto fnt = s.ReadFont("Font"))
        font = *fnt;
    if (multiLine) {
        multi_ = new QPlainTextEdit(f.window);
        multi_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        multi_->setTabChangesFocus(true);
        w_ = multi_;
        QObject::connect(multi_, &QPlainTextEdit::textChanged, multi_, [this] {
            if (member)
                if (auto* tb = dynamic_cast<TextBox*>(member); tb && tb->Change)
                    form.fire(tb->Change);
        });
    } else {
        single_ = new QLineEdit(f.window);
        w_ = single_;
        QObject::connect(single_, &QLineEdit::textChanged, single_, [this] {
            if (member)
                if (auto* tb = dynamic_cast<TextBox*>(member); tb && tb->Change)
                    form.fire(tb->Change);
        });
    }
    w_->setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::ClickFocus);
    setText(s.ReadString("Text", ""));
    setColors();
    setFont();
    setLocked(locked);
    w_->setVisible(s.ReadBool("Visible", true));
    w_->setEnabled(s.ReadBool("Enabled", true));
    id = WindowRegistry::instance().add(w_);
    applyGeometry();
}

std::string TextBoxImpl::text() const
{
    if (multi_)
        return lfToCrlf(multi_->toPlainText().toStdString());
    return single_->text().toStdString();
}

void TextBoxImpl::setText(const std::string& t)
{
    if (multi_)
        multi_->setPlainText(QString::fromStdString(crlfToLf(t)));
    else
        single_->setText(QString::fromStdString(t));
}

void TextBoxImpl::setColors()
{
    QPalette pal = w_->palette();
    pal.setColor(QPalette::Base, toQColor(backColor));
    pal.setColor(QPalette::Text, toQColor(foreColor));
    w_->setPalette(pal);
}

void TextBoxImpl::setFont()
{
    w_->setFont(toQFont(font));
}

void TextBoxImpl::setLocked(bool l)
{
    locked = l;
    if (multi_)
        multi_->setReadOnly(l);
    else
        single_->setReadOnly(l);
}

// ---- Image ----------------------------------------------------------------------------

ImageImpl::ImageImpl(FormImpl& f, const ControlDescription& desc, Control* m)
    : ControlImpl(f, desc, m)
{
    const PropertyBag& s = desc.Settings;
    borderStyle = s.ReadInt16("BorderStyle", 0);
    stretch = s.ReadBool("Stretch", false);
    w_ = new ImageWidget(f.window, this);
    w_->setVisible(s.ReadBool("Visible", true));
    w_->setEnabled(s.ReadBool("Enabled", true));
    applyGeometry();
    setPicture(s.ReadPicture("Picture"));
}

void ImageImpl::setPicture(const PictureData& p)
{
    picture = p;
    image = QImage();
    if (!p.empty()) {
        QByteArray data(reinterpret_cast<const char*>(p.Bytes.data()), qsizetype(p.Bytes.size()));
        if (isIconOrCursor(p))
            data[2] = 1;
        image = QImage::fromData(data);
        if (image.isNull())
            Raise(errInvalidPicture, "Invalid picture: " + name);
    }
    fitToPicture();
    w_->update();
}

void ImageImpl::fitToPicture()
{
    // Without Stretch an image control takes the size of its picture (and border).
    if (stretch || image.isNull())
        return;
    const int b = borderStyle != 0 ? 2 : 0;
    w_->resize(image.width() + b, image.height() + b);
    width = pixelsToTwips(w_->width());
    height = pixelsToTwips(w_->height());
}

// ---- Native ---------------------------------------------------------------------------

NativeImpl::NativeImpl(
    FormImpl& f, const ControlDescription& desc, Control* m, std::unique_ptr<NativeControl> native)
    : ControlImpl(f, desc, m)
    , native_(std::move(native))
{
    w_ = native_->createWidget(f.window, desc.Settings);
    if (!w_)
        Raise(errUnableToLoad, "Unable to load control " + name);
    w_->setVisible(desc.Settings.ReadBool("Visible", true));
    if (native_->windowed())
        id = WindowRegistry::instance().add(w_);
    w_->setFocusPolicy(native_->canGetFocus() ? Qt::StrongFocus : Qt::NoFocus);
    applyGeometry();
}

void NativeImpl::ambientChanged(const char* what)
{
    if (std::string_view(what) == "BackColor")
        native_->ambientBackColor(form.backColor);
}

} // namespace qm::forms::detail
