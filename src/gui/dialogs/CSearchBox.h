// A drop-down text box that keeps the texts entered in it (Enter) as its list: newest first,
// at most 15. An auto-repeated Enter is swallowed without effect.
#pragma once

#include <QComboBox>

class CSearchBox : public QComboBox {
    Q_OBJECT
public:
    static constexpr int kHistorySize = 15;
    explicit CSearchBox(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool HandleEnter(QKeyEvent* event);
};
