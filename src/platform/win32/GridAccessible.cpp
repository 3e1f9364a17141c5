// The grid as a reader sees it: a table whose cells are its simple children,
// row by row, each named by its row, its column's heading and its text
// ("行 3 変換前 100"), the current cell focused and the selection selected.
#include <string>

#include "platform/win32/AccessibleObject.h"

namespace hk {

LONG GridCellNumber(const StringGrid& grid, int col, int row) {
  return static_cast<LONG>(row * grid.colCount() + col + 1);
}

namespace {

class GridAccessible final : public AccessibleObject {
 public:
  explicit GridAccessible(HWND window) : AccessibleObject(window) {}

  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
    if (!count) return E_POINTER;
    const StringGrid* g = grid();
    *count = g ? static_cast<LONG>(g->rowCount() * g->colCount()) : 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
    if (!object) return E_POINTER;
    *object = nullptr;
    int col = 0;
    int row = 0;
    return cell(child, col, row) ? S_FALSE : E_INVALIDARG;
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (!name) return E_POINTER;
    *name = nullptr;
    const StringGrid* g = grid();
    if (IsSelf(child) && g) {
      *name = SpokenBstr(g->accessibleName());
      return S_OK;
    }
    int col = 0;
    int row = 0;
    if (!cell(child, col, row)) return E_INVALIDARG;
    *name = SpokenBstr(CellName(*g, col, row));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    if (!value) return E_POINTER;
    *value = nullptr;
    int col = 0;
    int row = 0;
    if (!cell(child, col, row)) return DISP_E_MEMBERNOTFOUND;
    *value = SpokenBstr(grid()->cell(col, row));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    if (!role) return E_POINTER;
    role->vt = VT_I4;
    int col = 0;
    int row = 0;
    if (IsSelf(child)) {
      role->lVal = ROLE_SYSTEM_TABLE;
    } else if (cell(child, col, row)) {
      role->lVal = row == 0   ? ROLE_SYSTEM_COLUMNHEADER
                   : col == 0 ? ROLE_SYSTEM_ROWHEADER
                              : ROLE_SYSTEM_CELL;
    } else {
      return E_INVALIDARG;
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
    if (!focus) return E_POINTER;
    focus->vt = VT_EMPTY;
    const StringGrid* g = grid();
    if (!g || GetFocus() != window()) return S_FALSE;
    focus->vt = VT_I4;
    focus->lVal = GridCellNumber(*g, g->selectedCol(), g->selectedRow());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
    if (!selection) return E_POINTER;
    selection->vt = VT_EMPTY;
    const StringGrid* g = grid();
    if (!g) return S_FALSE;
    selection->vt = VT_I4;
    selection->lVal = GridCellNumber(*g, g->selectedCol(), g->selectedRow());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                        VARIANT child) override {
    if (IsSelf(child)) return AccessibleObject::accLocation(left, top, width, height, child);
    int col = 0;
    int row = 0;
    if (!cell(child, col, row)) return E_INVALIDARG;
    return screenPlace(DeviceRect(grid()->cellRect(col, row), peer()->dpi()), left, top, width,
                       height);
  }

 private:
  // A heading that repeats an earlier one ("単位" after each value) is
  // joined to the heading before it.
  static std::string Heading(const StringGrid& g, int col) {
    const std::string& heading = g.cell(col, 0);
    for (int earlier = 0; earlier < col; ++earlier) {
      if (g.cell(earlier, 0) == heading) return g.cell(col - 1, 0) + " " + heading;
    }
    return heading;
  }
  static std::string CellName(const StringGrid& g, int col, int row) {
    if (row == 0) return Heading(g, col);
    std::string name = "行 " + g.cell(0, row);
    if (col > 0) name += " " + Heading(g, col) + " " + g.cell(col, row);
    return SpokenCaption(name);
  }
  const StringGrid* grid() const {
    const WindowPeer* owner = peer();
    if (!owner || owner->control().kind() != ControlKind::StringGrid) return nullptr;
    return &static_cast<const StringGrid&>(owner->control());
  }
  // The cell a child number stands for.
  bool cell(const VARIANT& child, int& col, int& row) const {
    const StringGrid* g = grid();
    if (!g || child.vt != VT_I4 || child.lVal < 1 || g->colCount() < 1) return false;
    const LONG index = child.lVal - 1;
    col = static_cast<int>(index % g->colCount());
    row = static_cast<int>(index / g->colCount());
    return row < g->rowCount();
  }
};

HRESULT STDMETHODCALLTYPE GridAccessible::get_accState(VARIANT child, VARIANT* state) {
  if (!state) return E_POINTER;
  state->vt = VT_I4;
  state->lVal = 0;
  const StringGrid* g = grid();
  const bool focused = GetFocus() == window();
  if (IsSelf(child)) {
    state->lVal = STATE_SYSTEM_FOCUSABLE | (focused ? STATE_SYSTEM_FOCUSED : 0);
    return S_OK;
  }
  int col = 0;
  int row = 0;
  if (!cell(child, col, row)) return E_INVALIDARG;
  if (row == 0 || col == 0) return S_OK;
  state->lVal = STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_SELECTABLE;
  const bool current = col == g->selectedCol() && row == g->selectedRow();
  if (current && focused) state->lVal |= STATE_SYSTEM_FOCUSED;
  if (g->selection().contains(col, row)) state->lVal |= STATE_SYSTEM_SELECTED;
  const bool shown =
      row >= g->topRow() && row < g->topRow() + g->rowsShown() && col >= g->leftCol();
  if (!shown) state->lVal |= STATE_SYSTEM_OFFSCREEN | STATE_SYSTEM_INVISIBLE;
  return S_OK;
}

}  // namespace

AccessibleObject* MakeGridAccessible(HWND window) { return new GridAccessible(window); }

}  // namespace hk
