#pragma once
// Gives a tab widget's pages the same client area under every style: the
// tab strip 22 pixels high, the page 4 pixels in from the frame's sides,
// 24 from the top and 3 from the bottom. The pages take that size at once,
// so that layouts inside them start from their designed size.
class QTabWidget;

void FixPageMetrics(QTabWidget* pages);
