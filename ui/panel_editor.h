// The panel editor (TForm9): the panel on its canvas beside the three property pages, the screen
// and element lists, the element commands, mouse editing on the canvas with snapping to the grid
// size, the animated selection border, and saving. Every change to the panel is one step of the
// undo stack (a drag is one step).
#pragma once

#include <QString>
#include <memory>
#include <optional>
#include <vector>

#include "render/panel_render.h"
#include "render/panel_sources.h"
#include "resource_editor.h"
#include "resources/palette.h"
#include "resources/panel.h"
#include "resources/panel_layout.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QScrollArea;
class QSlider;
class QTimer;

namespace corvane::ui {

class PanelCanvas;
class PanelProperties;

// Own message rows of the panel editor.
inline constexpr int kMsgNoKey = 532;  // "Ninguna"

class TForm9 : public ResourceEditor {
  Q_OBJECT

 public:
  TForm9(TMainForm& main, TNodo& node);
  ~TForm9() override;

  bool GuardaDatos() override;
  void CambiaIdioma() override;
  void Redibuja(const QString& palette) override;
  void RedibujaFuentes() override;
  void RedibujaImagen(const QString& image) override;
  void RedibujaIcono(const QString& collection) override;

  // What the window shows and edits (tests and the undo commands read them).
  const TMHWPanel& Panel() const { return panel_; }
  bool Loaded() const { return loaded_; }
  const PixelBuffer& Canvas() const { return canvas_; }
  const PixelBuffer& Work() const { return work_; }
  const std::vector<int>& ElementList() const { return list_; }
  int Selected() const { return selected_; }
  int GridSize() const;
  PanelView View() const;
  PanelCanvas* CanvasWidget() const { return canvas_widget_; }
  PanelProperties* Properties() const { return properties_; }
  QComboBox* ScreenBox() const { return screen_box_; }
  QComboBox* ElementBox() const { return element_box_; }
  QComboBox* KindBox() const { return create_kind_; }
  QComboBox* TargetBox() const { return move_target_; }
  QPushButton* CreateButton() const { return create_; }
  QPushButton* DeleteButton() const { return delete_; }
  QPushButton* CloneButton() const { return clone_; }
  QPushButton* MoveButton() const { return move_; }
  QSlider* GridSlider() const { return grid_slider_; }
  QCheckBox* GridBox() const { return grid_box_; }
  QComboBox* ZoomBox() const { return zoom_box_; }

  // Selects element i (when it is on the shown screen).
  void SelectElement(int i);
  // The visibility dialog's answer and a colour popup's answer (0 text, 1 border, 2 background).
  void ApplyVisibility(std::uint32_t mask);
  void ApplyColour(int which, int index);
  // The undo commands put a whole panel back and select an element.
  void Restore(const TMHWPanel& panel, int selected);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  enum class Redraw { None, Partial, Full };
  void BuildWindow();
  void Connect();
  void Open();
  void FillPanelPage();
  void FillScreens(const QString& keep);
  void FillElements(int select);
  void ShowElement();
  void ShowContent();
  void ShowCoordinates();
  void ShowStyle();
  void FillSizes(const QString& font_name);
  void UpdateCommands();
  void ResetSources();
  void FullRedraw();
  void PartialRedraw();
  void RestoreCanvas();
  void PaintOverlay(bool advance);
  void Tick();

  // Applies `change` to the panel as one undo step; consecutive changes of the same field
  // (`field` >= 0) on the same element make one step.
  template <typename Change>
  void Edit(int field, Change change, Redraw redraw);
  // The same for the selected element (nothing without one).
  template <typename Change>
  void EditElement(int field, Change change, Redraw redraw);
  // Ends the current run of typing (the next change of a field starts a new undo step).
  void EndTyping() { ++typing_run_; }
  void PushSnapshot(TMHWPanel before, int selected_before, int field);
  TElementoPanel* Element();
  QString ScreenText() const;

  void OnOk();
  void OnCreate();
  void OnDelete();
  void OnClone();
  void OnMove();
  void OnVisibility();
  void OnColour(int which);
  void OnKeyboard();
  void OnFontChosen();
  void OnTypedGeometry(int field);
  void OnHexBox(int field);
  void OnPressed(int x, int y, Qt::MouseButton button);
  void OnMoved(int x, int y, Qt::MouseButtons buttons);
  void OnReleased();
  void OnNudged(int dx, int dy, bool coarse);
  void WarnOverLimit();

  TMHWPanel panel_;
  std::optional<TMHWPalette> palette_;
  std::unique_ptr<TreePanelSources> sources_;
  PixelBuffer work_;
  PixelBuffer canvas_;
  std::unique_ptr<TBordeAnimado> border_;
  std::vector<int> list_;
  int selected_ = 0;
  bool loaded_ = false;
  bool updating_ = false;
  bool rebuilding_ = false;
  int typing_run_ = 0;
  // Mouse state from button down to button up.
  Grab grab_;
  bool changed_by_mouse_ = false;
  TMHWPanel drag_before_;

  PanelCanvas* canvas_widget_;
  QScrollArea* canvas_scroll_;
  PanelProperties* properties_;
  QLabel* screen_label_;
  QLabel* element_label_;
  QComboBox* screen_box_;
  QComboBox* element_box_;
  QComboBox* create_kind_;
  QPushButton* create_;
  QPushButton* delete_;
  QPushButton* clone_;
  QPushButton* move_;
  QComboBox* move_target_;
  QLabel* grid_label_;
  QSlider* grid_slider_;
  QCheckBox* grid_box_;
  QLabel* zoom_label_;
  QComboBox* zoom_box_;
  QTimer* timer_;
};

void RegisterPanelEditor();

}  // namespace corvane::ui
