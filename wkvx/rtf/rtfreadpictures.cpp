#include "rtfreaderstate.h"

#include "rtfdocument.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QTextDocument>
#include <QUrl>

#include <algorithm>

namespace kvx::rtf::detail {

namespace {

int hexValue(unsigned char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

} // namespace

void Reader::pictureKeyword(Kw kw, std::string_view name, bool hasParam, int param)
{
    constexpr int kMaxExtent = 1 << 22;
    Picture& p = picture_;
    switch (kw) {
    case Kw::PictKind:
        p.kind = QByteArray(name.data(), qsizetype(name.size()));
        p.kindParam = hasParam ? param : -1;
        break;
    case Kw::PicW: p.picw = std::clamp(param, 0, kMaxExtent); break;
    case Kw::PicH: p.pich = std::clamp(param, 0, kMaxExtent); break;
    case Kw::PicWGoal: p.goalw = std::clamp(param, 0, kMaxExtent); break;
    case Kw::PicHGoal: p.goalh = std::clamp(param, 0, kMaxExtent); break;
    case Kw::PicScaleX: p.scalex = std::clamp(param, 1, 10000); break;
    case Kw::PicScaleY: p.scaley = std::clamp(param, 1, 10000); break;
    case Kw::Bin:
        if (hasParam && param > 0) {
            bool truncated = false;
            p.data.append(lex_.takeBinary(param, &truncated));
            if (truncated)
                warnBinary();
        }
        break;
    default:
        break;
    }
}

void Reader::pictureHex()
{
    Picture& pic = picture_;
    const QByteArrayView hex = lex_.takeUntilControl();
    pic.data.reserve(pic.data.size() + hex.size() / 2);
    for (const char q : hex) {
        const int v = hexValue(static_cast<unsigned char>(q));
        if (v < 0)
            continue;
        if (pic.nibble < 0) {
            pic.nibble = v;
        } else {
            pic.data.append(char(pic.nibble * 16 + v));
            pic.nibble = -1;
        }
    }
}

void Reader::finishPicture()
{
    inPicture_ = false;
    Picture pic = std::move(picture_);
    picture_ = Picture{};
    // A picture in a list marker is no marker text.
    if (st_.dest != Dest::Body || st_.ch.label)
        return;
    const bool png = pic.kind == "pngblip" && pic.data.startsWith("\x89PNG");
    const bool jpeg = pic.kind == "jpegblip" && pic.data.startsWith("\xFF\xD8");
    const bool bitmap = pic.kind == "pngblip" || pic.kind == "jpegblip" || pic.kind == "dibitmap" || pic.kind == "wbitmap";
    // Sizes in pixels at 96 dpi: goals are in twips, bitmaps' \picw in
    // pixels, metafiles' in hundredths of a millimetre.
    double w = pic.goalw / 15.0, h = pic.goalh / 15.0;
    if (w <= 0)
        w = bitmap ? pic.picw : pic.picw * 96.0 / 2540.0;
    if (h <= 0)
        h = bitmap ? pic.pich : pic.pich * 96.0 / 2540.0;
    if ((w <= 0 || h <= 0) && (png || jpeg)) {
        QBuffer buffer(&pic.data);
        QImageReader reader(&buffer);
        const QSize size = reader.size();
        if (w <= 0) w = size.width();
        if (h <= 0) h = size.height();
    }
    w = std::clamp(w * pic.scalex / 100.0, 1.0, 20000.0);
    h = std::clamp(h * pic.scaley / 100.0, 1.0, 20000.0);
    if (w <= 1 && h <= 1)
        w = h = 32;  // no size given at all

    QTextImageFormat f;
    if (png || jpeg) {
        const QString name = QStringLiteral("rtfpict:%1").arg(pictures_.size());
        doc_->addResource(QTextDocument::ImageResource, QUrl(name), pic.data);
        f.setName(name);
    } else {
        // A kind Qt cannot draw: a box of its size, the data kept for the writer.
        static const QString placeholder = QStringLiteral("rtfpict:placeholder");
        if (!placeholderAdded_) {
            QImage box(48, 48, QImage::Format_RGB32);
            box.fill(QColor(0xE8, 0xE8, 0xE8));
            for (int i = 0; i < 48; ++i) {
                for (const QPoint pt : {QPoint(i, 0), QPoint(i, 47), QPoint(0, i), QPoint(47, i), QPoint(i, i), QPoint(47 - i, i)})
                    box.setPixel(pt, qRgb(0x80, 0x80, 0x80));
            }
            doc_->addResource(QTextDocument::ImageResource, QUrl(placeholder), box);
            placeholderAdded_ = true;
        }
        f.setName(placeholder);
        QByteArray header = "\\" + (pic.kind.isEmpty() ? QByteArray("wmetafile") : pic.kind);
        if (pic.kindParam >= 0)
            header += QByteArray::number(pic.kindParam);
        if (pic.picw > 0)
            header += "\\picw" + QByteArray::number(pic.picw);
        if (pic.pich > 0)
            header += "\\pich" + QByteArray::number(pic.pich);
        f.setProperty(PictureHeaderProperty, header);
        f.setProperty(PictureDataProperty, pic.data);
    }
    f.setWidth(w);
    f.setHeight(h);
    const int index = int(pictures_.size());
    pictures_.push_back(f);
    flushBytes();
    if (hasPending())
        closeRun();
    para_.push_back(Run{paraText_.size(), 1, st_.ch, index});
    paraText_.append(QChar(QChar::ObjectReplacementCharacter));
    pendingStart_ = paraText_.size();
    ++emitted_;
}


void Reader::pictureStart(Kw kw)
{
    if (kw != Kw::Pict)
        return;  // \shppict is read, its \nonshppict twin skipped; other words are read inside \pict
    if (st_.dest == Dest::Body && !inPicture_) {
        picture_ = Picture{};
        picture_.depth = stack_.size();
        inPicture_ = true;
        st_.dest = Dest::Picture;
    } else {
        st_.dest = Dest::Skip;
        skipGroupRest();
    }
}

} // namespace kvx::rtf::detail
