// The maker's logo, drawn rather than loaded so that the program carries no image files.
#pragma once

#include <QPixmap>
#include <QSize>

namespace ui::detail {

QPixmap drawMakerLogo(QSize size);

} // namespace ui::detail
