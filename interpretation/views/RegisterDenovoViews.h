#pragma once
// Makes the de novo panes known to the frame's layouts and answers Actions > DeNovo.

namespace zar {

void RegisterDenovoViews();

}  // namespace zar
