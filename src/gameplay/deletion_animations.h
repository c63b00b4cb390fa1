// The fade of the deleted cells and the reveal of the changed ones.
#pragma once

void AnimateDeletion();
void ShowChanged();
