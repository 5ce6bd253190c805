#include "rtfreaderstate.h"

#include <QRegularExpression>

namespace kvx::rtf::detail {

namespace {

// An equation field without a result that overstrikes characters
// (EQ \o(A,B)) shows its first one, as LibreOffice shows it; other
// equations without a result show nothing.
QString overstrikeText(const QString& instruction)
{
    static const QRegularExpression overstrike(QStringLiteral("^EQ\\s*\\\\o\\s*\\(\\s*([^,()\\\\]*)[,)]"),
                                               QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = overstrike.match(instruction);
    return m.hasMatch() ? m.captured(1).trimmed() : QString();
}

} // namespace

void Reader::finishField()
{
    Field f = std::move(fields_.back());
    fields_.pop_back();
    // A symbol field whose result is empty shows its character.
    if (emitted_ == f.emittedAtStart && st_.dest == Dest::Body) {
        const QString inst = f.instruction.trimmed();
        if (inst.startsWith(QLatin1String("SYMBOL"), Qt::CaseInsensitive)) {
            const QString num = inst.mid(6).trimmed().section(QLatin1Char(' '), 0, 0);
            bool ok = false;
            const uint code = num.startsWith(QLatin1String("0x"), Qt::CaseInsensitive) ? num.mid(2).toUInt(&ok, 16)
                                                                                     : num.toUInt(&ok);
            if (ok && code >= 0x20 && code < 0xFFFE)
                emitChar(char16_t(code));
        } else if (const QString shown = overstrikeText(inst); !shown.isEmpty()) {
            emitText(shown);
        }
    }
}


void Reader::fieldKeyword(Kw kw)
{
    switch (kw) {
    case Kw::Field:
        if (int(fields_.size()) < kMaxFieldNesting) {
            Field f;
            f.depth = stack_.size();
            f.outerDest = st_.dest;
            f.emittedAtStart = emitted_;
            fields_.push_back(f);
        }
        break;
    case Kw::FldInst:
        if (!fields_.empty() && fields_.back().depth + 1 == stack_.size()) {
            st_.dest = Dest::FieldInst;
        } else {
            st_.dest = Dest::Skip;
            skipGroupRest();
        }
        break;
    case Kw::FldRslt:
        if (!fields_.empty() && fields_.back().depth + 1 == stack_.size()) {
            Field& f = fields_.back();
            f.resultSeen = true;
            st_.dest = f.outerDest;
            const QString inst = f.instruction.trimmed();
            if (inst.startsWith(QLatin1String("HYPERLINK"), Qt::CaseInsensitive)) {
                QString target;
                const qsizetype q1 = inst.indexOf(QLatin1Char('"'));
                const qsizetype q2 = q1 >= 0 ? inst.indexOf(QLatin1Char('"'), q1 + 1) : -1;
                if (q2 > q1)
                    target = inst.mid(q1 + 1, q2 - q1 - 1);
                else
                    target = inst.mid(9).trimmed().section(QLatin1Char(' '), 0, 0);
                if (!target.isEmpty()) {
                    links_.push_back(target);
                    st_.ch.link = int(links_.size()) - 1;
                }
            }
        }
        break;
    default: break;
    }
}

} // namespace kvx::rtf::detail
