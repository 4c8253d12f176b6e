#include "forms/Fa_GetMisc.h"

#include "data/backend/DbError.h"

#include <QToolButton>

namespace md::forms {

namespace {

TFaGetMisc::SearchRunner& runner() {
    static TFaGetMisc::SearchRunner r;
    return r;
}

// The frame's code box: its filter falls back on the frame's group while the design's
// incomplete "GroupCode=" is in place.
class MiscCodeBox final : public TKIdLookup {
  public:
    explicit MiscCodeBox(const TFaGetMisc* frame) : frame_(frame) {}
    QString effectiveFilter() const override {
        const QString f = K_Filter.trimmed();
        if (f.compare(TFaGetMisc::DesignFilter(), Qt::CaseInsensitive) != 0)
            return K_Filter;
        QString group = frame_->MiscGroup;
        return QStringLiteral("GroupCode='%1'").arg(group.replace(u'\'', QStringLiteral("''")));
    }

  private:
    const TFaGetMisc* frame_;
};

}  // namespace

TFaGetMisc::TFaGetMisc(QWidget* parent) : TFaLookupFrame(parent, new MiscCodeBox(this), true) {
    setObjectName(QStringLiteral("FaGetMisc"));
    EditLabel = captionLabel();
    Code = box();
    BtSearch = searchButton();
    Description = descriptionLabel();
    EditLabel->setObjectName(QStringLiteral("EditLabel"));
    EditLabel->setText(QStringLiteral("Label"));
    Code->setObjectName(QStringLiteral("Code"));
    Code->K_LookupTableName = QStringLiteral("Misc");
    Code->K_DescriptionField = QStringLiteral("Description");
    Code->K_Filter = DesignFilter();
    BtSearch->setObjectName(QStringLiteral("BtSearch"));
    BtSearch->setToolTip(QStringLiteral("ค้นหารหัส"));
    Description->setObjectName(QStringLiteral("Description"));
}

void TFaGetMisc::setSearchRunner(SearchRunner r) {
    runner() = std::move(r);
}

bool TFaGetMisc::hasSearchRunner() {
    return bool(runner());
}

void TFaGetMisc::BtSearchClick() {
    if (!runner())
        throw data::UsageError(QStringLiteral("The miscellaneous-code search is not installed"));
    const MiscSearchRequest request{QStringLiteral("ค้นหา") + EditLabel->text(), MiscGroup,
                                    Code->K_LookupEditField};
    if (const std::optional<QString> chosen = runner()(window(), request))
        takeChosenCode(*chosen);
}

}  // namespace md::forms
