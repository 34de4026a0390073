#include "panel_editor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QSlider>
#include <QTextCursor>
#include <QTimer>
#include <QUndoCommand>
#include <QVBoxLayout>
#include <algorithm>
#include <set>

#include "base/message_rows.h"
#include "colour_popup.h"
#include "document/panel_commands.h"
#include "main_window.h"
#include "panel_canvas.h"
#include "panel_properties.h"
#include "prompts.h"
#include "resources/icons.h"
#include "ui_text.h"
#include "virtual_keyboard.h"
#include "visibility_dialog.h"

namespace corvane::ui {

namespace {

// Message rows of the window.
enum Row : int {
  kIconLabel = 45,
  kPanelLabel = 46,
  kImageLabel = 47,
  kTextLabel = 48,
  kShowScreen = 102,
  kGridSize = 103,
  kDeleteElement = 104,
  kCloneElement = 105,
  kCreateElement = 106,
  kSelectedElement = 122,
  kZoom = 198,
  kCaption = 206,
  kCannotSaveOver183 = 217,
  kDeleteSomeElements = 218,
  kOver183Warning = 219,
  kHintElement = 227,
  kHintName = 228,
  kMoveElement = 333,
  kDrawGrid = 334,
};

// Fields whose consecutive changes make one undo step.
enum Field : int {
  kFieldPanelName,
  kFieldIconCollection,
  kFieldElementName,
  kFieldVariable,
  kFieldText,
  kFieldNextPanel,
  kFieldSize,
};

// Names and texts are raw 8-bit bytes, one character each.
QString Raw(const std::string& s) {
  return BytesToText(s);
}
std::string Raw(const QString& s) {
  return TextToBytes(s);
}
QString Hex(unsigned v, int digits) {
  return QStringLiteral("%1").arg(v, digits, 16, QLatin1Char('0')).toUpper();
}

// One change of the panel: the whole panel before and after it. Pushing does not apply it again
// (the window already did).
class PanelSnapshot : public QUndoCommand {
 public:
  PanelSnapshot(TForm9& editor, TMHWPanel before, TMHWPanel after, int selected_before,
                int selected_after, int field, int run)
      : editor_(editor),
        before_(std::move(before)),
        after_(std::move(after)),
        selected_before_(selected_before),
        selected_after_(selected_after),
        field_(field),
        run_(run) {}
  void undo() override { editor_.Restore(before_, selected_before_); }
  void redo() override {
    if (applied_) {
      applied_ = false;
      return;
    }
    editor_.Restore(after_, selected_after_);
  }
  int id() const override { return field_ >= 0 ? 1 : -1; }
  bool mergeWith(const QUndoCommand* other) override {
    const auto* o = static_cast<const PanelSnapshot*>(other);
    if (o->field_ != field_ || o->run_ != run_ || o->selected_after_ != selected_after_)
      return false;
    after_ = o->after_;
    return true;
  }

 private:
  TForm9& editor_;
  TMHWPanel before_, after_;
  int selected_before_, selected_after_;
  int field_, run_;
  bool applied_ = true;
};

}  // namespace

TForm9::TForm9(TMainForm& main, TNodo& node)
    : ResourceEditor(main, node),
      canvas_widget_(new PanelCanvas(this)),
      canvas_scroll_(new QScrollArea(this)),
      properties_(new PanelProperties(this)),
      screen_label_(new QLabel(this)),
      element_label_(new QLabel(this)),
      screen_box_(new QComboBox(this)),
      element_box_(new QComboBox(this)),
      create_kind_(new QComboBox(this)),
      create_(new QPushButton(this)),
      delete_(new QPushButton(this)),
      clone_(new QPushButton(this)),
      move_(new QPushButton(this)),
      move_target_(new QComboBox(this)),
      grid_label_(new QLabel(this)),
      grid_slider_(new QSlider(Qt::Horizontal, this)),
      grid_box_(new QCheckBox(this)),
      zoom_label_(new QLabel(this)),
      zoom_box_(new QComboBox(this)),
      timer_(new QTimer(this)) {
  setAttribute(Qt::WA_DeleteOnClose);
  BuildWindow();
  Connect();
  Open();
  CambiaIdioma();
  timer_->start(250);
}

TForm9::~TForm9() {
  // The undo commands refer to the window: drop them before its members go.
  UndoStack()->clear();
}

void TForm9::BuildWindow() {
  canvas_scroll_->setWidget(canvas_widget_);
  canvas_scroll_->setMinimumSize(kCanvasWidth + 4, kCanvasHeight + 4);
  canvas_widget_->SetPicture(&canvas_);
  for (int k = 1; k <= kElementKinds; ++k)
    create_kind_->addItem(Raw(std::string(ElementKindName(k))));
  grid_slider_->setRange(1, 10);
  grid_slider_->setValue(1);
  grid_box_->setEnabled(false);
  zoom_box_->addItems({QStringLiteral("1x"), QStringLiteral("2x")});

  auto* commands = new QGridLayout;
  commands->addWidget(create_kind_, 0, 0);
  commands->addWidget(create_, 0, 1);
  commands->addWidget(delete_, 0, 2);
  commands->addWidget(clone_, 0, 3);
  commands->addWidget(move_target_, 1, 0);
  commands->addWidget(move_, 1, 1);
  commands->addWidget(grid_label_, 1, 2);
  commands->addWidget(grid_slider_, 1, 3);
  commands->addWidget(grid_box_, 1, 4);
  commands->addWidget(zoom_label_, 0, 4);
  commands->addWidget(zoom_box_, 0, 5);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(OkButton());
  buttons->addWidget(CancelButton());

  auto* left = new QVBoxLayout;
  left->addWidget(canvas_scroll_);
  left->addStretch();
  left->addLayout(commands);
  left->addLayout(buttons);

  auto* lists = new QGridLayout;
  lists->addWidget(screen_label_, 0, 0);
  lists->addWidget(screen_box_, 0, 1);
  lists->addWidget(element_label_, 1, 0);
  lists->addWidget(element_box_, 1, 1);
  auto* right = new QVBoxLayout;
  right->addLayout(lists);
  right->addWidget(properties_, 1);

  auto* layout = new QHBoxLayout(this);
  layout->addLayout(left, 1);
  layout->addLayout(right);
  properties_->text->installEventFilter(this);
}

// ---- Filling the controls ----

TElementoPanel* TForm9::Element() {
  return selected_ >= 0 && selected_ < static_cast<int>(panel_.elements.size())
             ? &panel_.elements[static_cast<std::size_t>(selected_)]
             : nullptr;
}

QString TForm9::ScreenText() const {
  return screen_box_->currentText();
}

int TForm9::GridSize() const {
  return grid_slider_->value();
}

PanelView TForm9::View() const {
  PanelView view;
  view.language = std::max(0, properties_->language_shown->currentIndex());
  view.style = std::max(0, properties_->style_shown->currentIndex());
  view.icon_collection_present = IconCollectionPresent(*Node(), panel_.icon_collection);
  return view;
}

void TForm9::Open() {
  const TArbol* tree = Main().Doc().Tree();
  const std::vector<std::string> paths = tree ? PalettePaths(*tree) : std::vector<std::string>{};
  if (paths.empty()) {
    // Without any palette nothing is loaded: the window neither draws nor saves.
    properties_->setEnabled(false);
    for (QWidget* w : std::initializer_list<QWidget*>{create_, delete_, clone_, move_, OkButton()})
      w->setEnabled(false);
    return;
  }
  const std::string name = Node()->Text.substr(0, Node()->Text.find('.'));
  const std::string path = ChoosePalettePath(
      paths, PaletteContext(*Node(), NestedPaletteContext(Main().Doc().Model())), name);
  LoadPalettePath(*tree, path, palette_);
  if (!palette_) palette_ = TMHWPalette::Greys();
  const Result read = panel_.Create(*Node());
  if (!read.ok()) Prompts::Report(this, read);
  loaded_ = true;
  if (Main().OptionChecked(MainWindowItem::OptionLimitPanels) && OverSaveLimit(panel_))
    Prompts::Error(this, Msg(kOver183Warning) + QLatin1Char('\n') + Msg(kDeleteSomeElements));

  updating_ = true;
  for (const std::string& p : paths) properties_->palette->addItem(Raw(p));
  properties_->palette->setCurrentText(Raw(path));
  for (const std::string& c : IconCollectionNames(*Node()))
    properties_->icon_collection->addItem(Raw(c));
  std::set<std::string> font_names;
  const TMHWFont& fonts = Main().Doc().Fonts();
  for (int f = 0; f < fonts.count && f < kFontSlots; ++f)
    if (font_names.insert(fonts.fonts[f].name).second)
      properties_->font->addItem(Raw(fonts.fonts[f].name));
  for (const std::string& ref : PanelReferences(*tree)) properties_->next_panel->addItem(Raw(ref));
  for (const std::string& key : KeyNames()) properties_->key->addItem(Raw(key));
  properties_->key->addItem(QString());  // "Ninguna", labelled by CambiaIdioma
  FillPanelPage();
  properties_->language_shown->setCurrentIndex(properties_->default_language->currentIndex());
  ResetSources();
  FillScreens(QString());
  FillElements(-1);
  ShowElement();
  updating_ = false;
  FullRedraw();
  SetChanged(false);
}

void TForm9::FillPanelPage() {
  PanelProperties& p = *properties_;
  p.init_method->setText(Hex(panel_.init_method, 4));
  p.refresh_method->setText(Hex(panel_.refresh_method, 4));
  p.final_method->setText(Hex(panel_.final_method, 4));
  p.panel_name->setText(Raw(panel_.name));
  p.icon_collection->setEditText(Raw(panel_.icon_collection));
  p.default_language->setCurrentIndex(std::min<int>(panel_.default_language, kPanelLanguages - 1));
  for (int i = 0; i < kPanelLanguages; ++i)
    p.languages[static_cast<std::size_t>(i)]->setChecked(panel_.language_mask >> i & 1);
}

void TForm9::FillScreens(const QString& keep) {
  const bool was = updating_;
  updating_ = true;
  screen_box_->clear();
  for (const std::string& s : ScreenList(panel_)) screen_box_->addItem(Raw(s));
  const int at = screen_box_->findText(keep);
  screen_box_->setCurrentIndex(at >= 0 ? at : 0);
  updating_ = was;
}

void TForm9::FillElements(int select) {
  const bool was = updating_;
  updating_ = true;
  rebuilding_ = true;
  list_ = corvane::ElementList(panel_, Raw(ScreenText()));
  element_box_->clear();
  for (int i : list_) element_box_->addItem(QString::number(i));
  auto at = std::find(list_.begin(), list_.end(), select);
  if (at == list_.end()) at = list_.begin();
  selected_ = at == list_.end() ? -1 : *at;
  element_box_->setCurrentIndex(static_cast<int>(at - list_.begin()));
  move_target_->clear();
  for (int i = 1; i < static_cast<int>(panel_.elements.size()); ++i)
    move_target_->addItem(QString::number(i));
  rebuilding_ = false;
  updating_ = was;
}

void TForm9::UpdateCommands() {
  const bool first = list_.empty() || selected_ == list_.front();
  delete_->setEnabled(loaded_ && !first);
  clone_->setEnabled(loaded_ && !first);
  properties_->visibility->setEnabled(loaded_ && !first);
  move_->setEnabled(loaded_ && selected_ >= 1);
  create_->setEnabled(loaded_);
}

void TForm9::ShowElement() {
  const bool was = updating_;
  updating_ = true;
  UpdateCommands();
  PanelProperties& p = *properties_;
  const TElementoPanel* e = Element();
  p.widget(1)->setEnabled(e != nullptr);
  p.widget(2)->setEnabled(e != nullptr);
  if (e != nullptr) {
    p.element_name->setText(Raw(e->name));
    ShowCoordinates();
    p.justification->setCurrentIndex(e->justification <= 2 ? e->justification : -1);
    p.key->setCurrentIndex(e->key == 0 ? static_cast<int>(KeyNames().size())
                           : e->key >= kFirstKeyCode &&
                                   e->key < kFirstKeyCode + static_cast<int>(KeyNames().size())
                               ? e->key - kFirstKeyCode
                               : -1);
    p.kind->setCurrentIndex(e->kind - 1);
    p.variable->setText(Raw(e->variable));
    p.next_panel->setEditText(Raw(e->next_panel));
    p.style_shown->clear();
    for (std::size_t s = 1; s <= e->styles.size(); ++s)
      p.style_shown->addItem(Hex(static_cast<unsigned>(s), 2));
    p.style_shown->setCurrentIndex(0);
    ShowStyle();
    const std::string font_name = panel_.FontName(selected_);
    const int font_at = p.font->count() == 0                  ? -1
                        : e->font_index < panel_.fonts.size() ? p.font->findText(Raw(font_name))
                                                              : 0;
    p.font->setCurrentIndex(font_at);
    FillSizes(p.font->currentText());
    p.size->setEditText(QString::number(e->font_size));
    p.next_page->setText(Hex(e->next_page, 2));
    p.array_index->setText(Hex(e->array_index, 2));
    p.position->setText(Hex(e->position, 2));
    p.priority->setCurrentIndex(e->priority < 16 ? e->priority : -1);
    p.method->setText(Hex(e->method, 4));
    for (int b = 0; b < 8; ++b)
      p.status[static_cast<std::size_t>(b)]->setChecked(e->status >> b & 1);
    ShowContent();
  }
  updating_ = was;
}

void TForm9::ShowCoordinates() {
  const TElementoPanel* e = Element();
  if (e == nullptr) return;
  const bool was = updating_;
  updating_ = true;
  PanelProperties& p = *properties_;
  p.x->setText(QString::number(e->x1));
  p.y->setText(QString::number(e->y1));
  p.width->setText(QString::number(std::abs(e->x2 - e->x1) + 1));
  p.height->setText(QString::number(std::abs(e->y2 - e->y1) + 1));
  p.x1_hex->setText(Hex(static_cast<unsigned>(e->x1) & 0xFFF, 3));
  p.y1_hex->setText(Hex(static_cast<unsigned>(e->y1) & 0xFFF, 3));
  p.x2_hex->setText(Hex(static_cast<unsigned>(e->x2) & 0xFFF, 3));
  p.y2_hex->setText(Hex(static_cast<unsigned>(e->y2) & 0xFFF, 3));
  updating_ = was;
}

void TForm9::ShowStyle() {
  const TElementoPanel* e = Element();
  if (e == nullptr) return;
  const bool was = updating_;
  updating_ = true;
  PanelProperties& p = *properties_;
  const int s =
      std::clamp(p.style_shown->currentIndex(), 0, static_cast<int>(e->styles.size()) - 1);
  const TEstiloElemento& style = e->styles[static_cast<std::size_t>(s)];
  p.border_kind->setCurrentIndex(style.border_kind <= 5 ? style.border_kind : -1);
  p.width1->setValue(style.width1);
  p.width2->setValue(style.width2);
  const bool compound =
      style.border_kind == kBorderCompound1 || style.border_kind == kBorderCompound2;
  p.width2->setEnabled(compound);
  p.width2_label->setEnabled(compound);
  p.width1->setToolTip(QString::number(style.width1));
  p.width2->setToolTip(QString::number(style.width2));
  const std::uint8_t indices[3] = {style.text, style.border, style.background};
  for (int i = 0; i < 3; ++i) {
    const Rgb c = palette_ ? palette_->entries[indices[i] & 15].Colour() : Rgb{};
    p.colours[static_cast<std::size_t>(i)]->setStyleSheet(
        QStringLiteral("background-color: rgb(%1, %2, %3)").arg(c.r).arg(c.g).arg(c.b));
  }
  const int allowed = StylesAllowed(e->kind);
  p.new_style->setEnabled(static_cast<int>(e->styles.size()) < allowed);
  p.delete_style->setEnabled(e->styles.size() >= 2);
  updating_ = was;
}

void TForm9::FillSizes(const QString& font_name) {
  PanelProperties& p = *properties_;
  const QString text = p.size->currentText();
  p.size->clear();
  const TMHWFont& fonts = Main().Doc().Fonts();
  std::set<int> sizes;
  for (int f = 0; f < fonts.count && f < kFontSlots; ++f)
    if (Raw(fonts.fonts[f].name) == font_name) sizes.insert(fonts.fonts[f].size);
  for (int s : sizes) p.size->addItem(QString::number(s));
  p.size->setEnabled(!sizes.empty());
  p.size->setEditText(text);
}

void TForm9::ShowContent() {
  const TElementoPanel* e = Element();
  if (e == nullptr) return;
  PanelProperties& p = *properties_;
  const TArbol& tree = *Main().Doc().Tree();
  std::vector<std::string> entries;
  int label = kTextLabel;
  bool list = true;
  bool case_blind = false;
  if (e->kind == kSubPanel) {
    label = kPanelLabel;
    entries = PanelReferences(tree);
  } else if (e->kind == kWindow) {
    label = kImageLabel;
    entries = ImageReferences(tree);
    case_blind = true;
  } else if (const TNodo* file = e->kind == kIconBox
                                     ? FindIconCollection(*Node(), panel_.icon_collection)
                                     : nullptr) {
    label = kIconLabel;
    TMHWIconLib icons;
    if (TMHWIconLib::Create(const_cast<TNodo*>(file), icons).ok())
      for (const Icon& icon : icons.icons) entries.push_back(icon.name);
  } else {
    list = false;
  }
  p.content_label->setText(Msg(label));
  p.content_list->setVisible(list);
  p.text->setVisible(!list);
  p.keyboard->setVisible(!list);
  if (list) {
    p.content_list->clear();
    for (const std::string& entry : entries) p.content_list->addItem(Raw(entry));
    p.content_list->setCurrentIndex(p.content_list->findText(
        Raw(e->texts[0]),
        case_blind ? Qt::MatchFixedString : Qt::MatchExactly | Qt::MatchCaseSensitive));
  } else {
    const int language = std::max(0, p.language_shown->currentIndex());
    p.text->setPlainText(Raw(e->texts[static_cast<std::size_t>(language)]));
  }
}

// ---- Drawing ----

void TForm9::ResetSources() {
  if (!loaded_) return;
  sources_ = std::make_unique<TreePanelSources>(*Main().Doc().Tree(), *Node(), panel_, *palette_,
                                                Main().Doc().Fonts());
}

void TForm9::PaintOverlay(bool advance) {
  if (border_) border_->Pinta(canvas_, advance);
  if (grid_box_->isChecked()) DibujaRejilla(canvas_, GridSize());
}

void TForm9::RestoreCanvas() {
  if (!loaded_) return;
  canvas_ = work_;
  border_.reset();
  if (Element() != nullptr)
    border_ = std::make_unique<TBordeAnimado>(AbsoluteRect(panel_, selected_));
  PaintOverlay(false);
  canvas_widget_->Refresh();
}

void TForm9::FullRedraw() {
  if (!loaded_) return;
  if (work_.Width() != kCanvasWidth) work_ = PixelBuffer(kCanvasWidth, kCanvasHeight);
  Dibuja(work_, panel_, list_, View(), palette_->Colours(), *sources_);
  RestoreCanvas();
}

void TForm9::PartialRedraw() {
  if (!loaded_ || Element() == nullptr) return;
  RedrawFrom(canvas_, panel_, list_, selected_, View(), palette_->Colours(), *sources_);
  PaintOverlay(false);
  canvas_widget_->Refresh();
}

void TForm9::Tick() {
  // The border holds still while the list is rebuilt or the mouse drags.
  if (!loaded_ || rebuilding_ || grab_.element >= 0 || changed_by_mouse_ || !border_) return;
  border_->Pinta(canvas_, true);
  canvas_widget_->Refresh();
}

// ---- Edits ----

void TForm9::PushSnapshot(TMHWPanel before, int selected_before, int field) {
  Push(new PanelSnapshot(*this, std::move(before), panel_, selected_before, selected_, field,
                         typing_run_));
}

template <typename Change>
void TForm9::Edit(int field, Change change, Redraw redraw) {
  if (updating_ || !loaded_) return;
  TMHWPanel before = panel_;
  change(panel_);
  if (panel_ == before) return;
  PushSnapshot(std::move(before), selected_, field);
  if (redraw == Redraw::Full) FullRedraw();
  if (redraw == Redraw::Partial) PartialRedraw();
}

template <typename Change>
void TForm9::EditElement(int field, Change change, Redraw redraw) {
  if (Element() == nullptr) return;
  const auto i = static_cast<std::size_t>(selected_);
  Edit(
      field, [&](TMHWPanel& p) { change(p.elements[i]); }, redraw);
}

void TForm9::Restore(const TMHWPanel& panel, int selected) {
  panel_ = panel;
  updating_ = true;
  FillPanelPage();
  ResetSources();
  FillScreens(ScreenText());
  FillElements(selected);
  ShowElement();
  updating_ = false;
  FullRedraw();
}

void TForm9::SelectElement(int i) {
  const auto at = std::find(list_.begin(), list_.end(), i);
  if (at == list_.end()) return;
  element_box_->setCurrentIndex(static_cast<int>(at - list_.begin()));
}

void TForm9::Connect() {
  PanelProperties& p = *properties_;
  connect(screen_box_, &QComboBox::currentIndexChanged, this, [this] {
    if (updating_) return;
    updating_ = true;
    FillElements(-1);
    ShowElement();
    updating_ = false;
    FullRedraw();
  });
  connect(element_box_, &QComboBox::currentIndexChanged, this, [this](int at) {
    if (updating_ || at < 0 || at >= static_cast<int>(list_.size())) return;
    EndTyping();
    selected_ = list_[static_cast<std::size_t>(at)];
    ShowElement();
    RestoreCanvas();
  });

  // "Panel" page.
  auto method_box = [this](QLineEdit* box, std::uint16_t TMHWPanel::*field) {
    connect(box, &QLineEdit::textEdited, this,
            [box](const QString& text) { box->setText(Raw(HexBoxText(Raw(text), "FFFF"))); });
    connect(box, &QLineEdit::editingFinished, this, [this, box, field] {
      const auto value = static_cast<std::uint16_t>(box->text().toUInt(nullptr, 16));
      Edit(
          -1, [&](TMHWPanel& panel) { panel.*field = value; }, Redraw::None);
    });
  };
  method_box(p.init_method, &TMHWPanel::init_method);
  method_box(p.refresh_method, &TMHWPanel::refresh_method);
  method_box(p.final_method, &TMHWPanel::final_method);
  connect(p.panel_name, &QLineEdit::textEdited, this, [this](const QString& text) {
    Edit(
        kFieldPanelName, [&](TMHWPanel& panel) { panel.name = Raw(text); }, Redraw::None);
  });
  connect(p.icon_collection, &QComboBox::editTextChanged, this, [this](const QString& text) {
    if (updating_) return;
    Edit(
        kFieldIconCollection, [&](TMHWPanel& panel) { panel.icon_collection = Raw(text); },
        Redraw::None);
    ResetSources();
  });
  for (int i = 0; i < kPanelLanguages; ++i)
    connect(p.languages[static_cast<std::size_t>(i)], &QCheckBox::toggled, this,
            [this, i](bool on) {
              Edit(
                  -1,
                  [&](TMHWPanel& panel) {
                    panel.language_mask = static_cast<std::uint8_t>(
                        on ? panel.language_mask | 1 << i : panel.language_mask & ~(1 << i));
                  },
                  Redraw::None);
            });
  connect(p.default_language, &QComboBox::currentIndexChanged, this, [this](int language) {
    Edit(
        -1, [&](TMHWPanel& panel) { panel.default_language = static_cast<std::uint8_t>(language); },
        Redraw::None);
  });
  connect(p.language_shown, &QComboBox::currentIndexChanged, this, [this] {
    if (updating_) return;
    updating_ = true;
    ShowContent();
    updating_ = false;
    FullRedraw();
  });
  connect(p.palette, &QComboBox::currentIndexChanged, this, [this] {
    if (updating_ || !loaded_) return;
    LoadPalettePath(*Main().Doc().Tree(), Raw(properties_->palette->currentText()), palette_);
    if (!palette_) palette_ = TMHWPalette::Greys();
    ResetSources();
    ShowStyle();
    FullRedraw();
  });

  // "Elem. (visual)" page.
  const std::pair<QLineEdit*, GeometryField> geometry[] = {{p.x, GeometryField::X},
                                                           {p.y, GeometryField::Y},
                                                           {p.width, GeometryField::Width},
                                                           {p.height, GeometryField::Height}};
  for (const auto& [box, field] : geometry) {
    connect(box, &QLineEdit::textEdited, this,
            [box](const QString& text) { box->setText(Raw(DigitBoxText(Raw(text)))); });
    connect(box, &QLineEdit::editingFinished, this,
            [this, f = static_cast<int>(field)] { OnTypedGeometry(f); });
  }
  connect(p.font, &QComboBox::activated, this, [this] { OnFontChosen(); });
  connect(p.size, &QComboBox::editTextChanged, this, [this](const QString& text) {
    if (updating_) return;
    const QString digits = QString(text).remove(QRegularExpression(QStringLiteral("[^0-9]")));
    if (digits != text) {
      properties_->size->setEditText(digits);
      return;
    }
    if (properties_->size->findText(digits) < 0) return;  // only listed sizes are taken
    EditElement(
        kFieldSize,
        [&](TElementoPanel& e) { e.font_size = static_cast<std::uint8_t>(digits.toInt() & 63); },
        Redraw::Full);
  });
  connect(p.justification, &QComboBox::currentIndexChanged, this, [this](int j) {
    EditElement(
        -1, [&](TElementoPanel& e) { e.justification = static_cast<std::uint8_t>(j); },
        Redraw::Full);
  });
  connect(p.style_shown, &QComboBox::currentIndexChanged, this, [this] {
    if (updating_) return;
    ShowStyle();
    FullRedraw();
  });
  auto style_edit = [this](auto change) {
    const int s = std::max(0, properties_->style_shown->currentIndex());
    EditElement(
        -1,
        [&](TElementoPanel& e) {
          if (s < static_cast<int>(e.styles.size())) change(e.styles[static_cast<std::size_t>(s)]);
        },
        Redraw::Full);
    ShowStyle();
  };
  connect(p.border_kind, &QComboBox::currentIndexChanged, this, [this, style_edit](int k) {
    if (updating_) return;
    style_edit([k](TEstiloElemento& st) { st.border_kind = static_cast<std::uint8_t>(k); });
  });
  connect(p.width1, &QSlider::valueChanged, this, [this, style_edit](int w) {
    if (updating_) return;
    style_edit([w](TEstiloElemento& st) { st.width1 = static_cast<std::uint8_t>(w); });
  });
  connect(p.width2, &QSlider::valueChanged, this, [this, style_edit](int w) {
    if (updating_) return;
    style_edit([w](TEstiloElemento& st) { st.width2 = static_cast<std::uint8_t>(w); });
  });
  connect(p.new_style, &QPushButton::clicked, this, [this] {
    TElementoPanel* e = Element();
    if (e == nullptr || static_cast<int>(e->styles.size()) >= StylesAllowed(e->kind)) return;
    Edit(
        -1, [this](TMHWPanel& panel) { panel.NuevoEstilo(selected_); }, Redraw::None);
    updating_ = true;
    ShowElement();
    properties_->style_shown->setCurrentIndex(properties_->style_shown->count() - 1);
    ShowStyle();
    updating_ = false;
    FullRedraw();
  });
  connect(p.delete_style, &QPushButton::clicked, this, [this] {
    TElementoPanel* e = Element();
    if (e == nullptr || e->styles.size() < 2) return;
    const int s = std::max(0, properties_->style_shown->currentIndex());
    Edit(
        -1, [&](TMHWPanel& panel) { panel.BorraEstilo(selected_, s); }, Redraw::None);
    updating_ = true;
    ShowElement();
    updating_ = false;
    FullRedraw();
  });
  for (int i = 0; i < 3; ++i)
    connect(p.colours[static_cast<std::size_t>(i)], &QPushButton::clicked, this,
            [this, i] { OnColour(i); });
  connect(p.text, &QPlainTextEdit::textChanged, this, [this] {
    if (updating_) return;
    const int language = std::max(0, properties_->language_shown->currentIndex());
    std::string text = Raw(properties_->text->toPlainText());
    std::erase(text, '\r');
    EditElement(
        kFieldText, [&](TElementoPanel& e) { e.texts[static_cast<std::size_t>(language)] = text; },
        Redraw::Partial);
  });
  connect(p.content_list, &QComboBox::activated, this, [this] {
    const std::string entry = Raw(properties_->content_list->currentText());
    EditElement(
        -1, [&](TElementoPanel& e) { e.texts[0] = entry; }, Redraw::Full);
  });
  connect(p.keyboard, &QPushButton::clicked, this, [this] { OnKeyboard(); });

  // "Elem. (otros)" page.
  connect(p.element_name, &QLineEdit::textEdited, this, [this](const QString& text) {
    EditElement(
        kFieldElementName, [&](TElementoPanel& e) { e.name = Raw(text); }, Redraw::None);
  });
  connect(p.kind, &QComboBox::currentIndexChanged, this, [this](int k) {
    if (updating_) return;
    EditElement(
        -1, [&](TElementoPanel& e) { e.kind = static_cast<std::uint8_t>(k + 1); }, Redraw::None);
    updating_ = true;
    ShowStyle();
    ShowContent();
    updating_ = false;
  });
  connect(p.variable, &QLineEdit::textEdited, this, [this](const QString& text) {
    EditElement(
        kFieldVariable, [&](TElementoPanel& e) { e.variable = Raw(text); }, Redraw::Partial);
  });
  connect(p.variable, &QLineEdit::editingFinished, this, [this] {
    EndTyping();
    FullRedraw();
  });
  connect(p.next_panel, &QComboBox::editTextChanged, this, [this](const QString& text) {
    EditElement(
        kFieldNextPanel, [&](TElementoPanel& e) { e.next_panel = Raw(text); }, Redraw::None);
  });
  connect(p.key, &QComboBox::currentIndexChanged, this, [this](int entry) {
    if (entry < 0) return;
    const int names = static_cast<int>(KeyNames().size());
    EditElement(
        -1,
        [&](TElementoPanel& e) {
          e.key = static_cast<std::uint16_t>(entry >= names ? 0 : kFirstKeyCode + entry);
        },
        Redraw::None);
  });
  connect(p.priority, &QComboBox::currentIndexChanged, this, [this](int v) {
    if (v < 0) return;
    EditElement(
        -1, [&](TElementoPanel& e) { e.priority = static_cast<std::uint8_t>(v); }, Redraw::None);
  });
  auto byte_box = [this](QLineEdit* box, std::uint8_t TElementoPanel::*field) {
    connect(box, &QLineEdit::textEdited, this,
            [box](const QString& text) { box->setText(Raw(HexBoxText(Raw(text), "00"))); });
    connect(box, &QLineEdit::editingFinished, this, [this, box, field] {
      const auto value = static_cast<std::uint8_t>(box->text().toUInt(nullptr, 16) & 0xFF);
      EditElement(
          -1, [&](TElementoPanel& e) { e.*field = value; }, Redraw::None);
    });
  };
  byte_box(p.next_page, &TElementoPanel::next_page);
  byte_box(p.array_index, &TElementoPanel::array_index);
  byte_box(p.position, &TElementoPanel::position);
  connect(p.method, &QLineEdit::textEdited, this, [box = p.method](const QString& text) {
    box->setText(Raw(HexBoxText(Raw(text), "FFFF")));
  });
  connect(p.method, &QLineEdit::editingFinished, this, [this] {
    const auto value = static_cast<std::uint16_t>(properties_->method->text().toUInt(nullptr, 16));
    EditElement(
        -1, [&](TElementoPanel& e) { e.method = value; }, Redraw::None);
  });
  for (int b = 0; b < 8; ++b)
    connect(p.status[static_cast<std::size_t>(b)], &QCheckBox::toggled, this, [this, b](bool on) {
      EditElement(
          -1,
          [&](TElementoPanel& e) {
            e.status = static_cast<std::uint8_t>(on ? e.status | 1 << b : e.status & ~(1 << b));
          },
          Redraw::None);
    });
  connect(p.visibility, &QPushButton::clicked, this, [this] { OnVisibility(); });

  // Commands, grid, zoom, mouse and timer.
  connect(create_, &QPushButton::clicked, this, [this] { OnCreate(); });
  connect(delete_, &QPushButton::clicked, this, [this] { OnDelete(); });
  connect(clone_, &QPushButton::clicked, this, [this] { OnClone(); });
  connect(move_, &QPushButton::clicked, this, [this] { OnMove(); });
  connect(grid_slider_, &QSlider::valueChanged, this, [this](int g) {
    grid_slider_->setToolTip(QString::number(g));
    if (g < 3) {
      const bool was = grid_box_->isChecked();
      grid_box_->setChecked(false);
      grid_box_->setEnabled(false);
      if (was) FullRedraw();
      return;
    }
    grid_box_->setEnabled(true);
    if (grid_box_->isChecked()) FullRedraw();
  });
  connect(grid_box_, &QCheckBox::toggled, this, [this] { FullRedraw(); });
  connect(zoom_box_, &QComboBox::currentIndexChanged, this,
          [this](int z) { canvas_widget_->SetZoom(z + 1); });
  connect(canvas_widget_, &PanelCanvas::Pressed, this, &TForm9::OnPressed);
  connect(canvas_widget_, &PanelCanvas::Moved, this, &TForm9::OnMoved);
  connect(canvas_widget_, &PanelCanvas::Released, this, [this] { OnReleased(); });
  connect(canvas_widget_, &PanelCanvas::Nudged, this, &TForm9::OnNudged);
  connect(timer_, &QTimer::timeout, this, &TForm9::Tick);
  disconnect(OkButton(), nullptr, this, nullptr);
  connect(OkButton(), &QPushButton::clicked, this, &TForm9::OnOk);
}

bool TForm9::eventFilter(QObject* watched, QEvent* event) {
  if (watched == properties_->text && event->type() == QEvent::FocusOut) {
    EndTyping();
    FullRedraw();
  }
  return ResourceEditor::eventFilter(watched, event);
}

void TForm9::OnTypedGeometry(int field) {
  if (updating_ || !loaded_ || Element() == nullptr || grab_.element >= 0) return;
  QLineEdit* boxes[] = {properties_->x, properties_->y, properties_->width, properties_->height};
  const int value = QString::fromStdString(DigitBoxText(Raw(boxes[field]->text()))).toInt();
  TMHWPanel before = panel_;
  if (TypeGeometry(panel_, list_, selected_, static_cast<GeometryField>(field), value) &&
      !(panel_ == before)) {
    PushSnapshot(std::move(before), selected_, -1);
    FullRedraw();
  }
  ShowCoordinates();  // a refused value gives way to the current one
}

void TForm9::OnFontChosen() {
  TElementoPanel* e = Element();
  if (updating_ || e == nullptr) return;
  const QString name = properties_->font->currentText();
  updating_ = true;
  FillSizes(name);
  updating_ = false;
  if (!properties_->size->isEnabled()) return;  // not a font of the font set
  const std::string font_name = Raw(name);
  int size = e->font_size;
  if (properties_->size->findText(QString::number(size)) < 0)
    size = properties_->size->itemText(0).toInt();
  Edit(
      -1,
      [&](TMHWPanel& panel) {
        TElementoPanel& el = panel.elements[static_cast<std::size_t>(selected_)];
        el.font_size = static_cast<std::uint8_t>(size);
        auto at = std::find(panel.fonts.begin(), panel.fonts.end(), font_name);
        const int index = at == panel.fonts.end() ? panel.AnadeFuente(font_name)
                                                  : static_cast<int>(at - panel.fonts.begin());
        el.font_index = static_cast<std::uint8_t>(index);
      },
      Redraw::Full);
  updating_ = true;
  properties_->size->setEditText(QString::number(size));
  updating_ = false;
}

// ---- Element commands ----

void TForm9::WarnOverLimit() {
  // Said once, when the panel grows past what can be saved.
  if (Main().OptionChecked(MainWindowItem::OptionLimitPanels) &&
      static_cast<int>(panel_.elements.size()) == kPanelSaveLimit + 1)
    Prompts::Error(this, Msg(kOver183Warning) + QLatin1Char('\n') + Msg(kDeleteSomeElements));
}

void TForm9::OnCreate() {
  if (!loaded_) return;
  TMHWPanel before = panel_;
  const int selected_before = selected_;
  const int made =
      CreateOnScreen(panel_, selected_, create_kind_->currentIndex() + 1, Raw(ScreenText()));
  if (made < 0) return;
  updating_ = true;
  FillScreens(ScreenText());
  FillElements(made);
  ShowElement();
  updating_ = false;
  PushSnapshot(std::move(before), selected_before, -1);
  FullRedraw();
  WarnOverLimit();
}

void TForm9::OnDelete() {
  auto at = std::find(list_.begin(), list_.end(), selected_);
  if (!loaded_ || at == list_.end() || at == list_.begin()) return;
  TMHWPanel before = panel_;
  const int selected_before = selected_;
  const int previous = *(at - 1);
  panel_.BorraElemento(selected_);
  updating_ = true;
  FillScreens(ScreenText());
  FillElements(previous);
  ShowElement();
  updating_ = false;
  PushSnapshot(std::move(before), selected_before, -1);
  FullRedraw();
}

void TForm9::OnClone() {
  auto at = std::find(list_.begin(), list_.end(), selected_);
  if (!loaded_ || at == list_.end() || at == list_.begin()) return;
  TMHWPanel before = panel_;
  if (CloneInside(panel_, selected_) < 0) return;
  updating_ = true;
  FillElements(selected_);
  ShowElement();
  updating_ = false;
  PushSnapshot(std::move(before), selected_, -1);
  FullRedraw();
  WarnOverLimit();
}

void TForm9::OnMove() {
  bool ok = false;
  const int target = move_target_->currentText().toInt(&ok);
  if (!loaded_ || !ok || selected_ < 1 || target == selected_) return;
  TMHWPanel before = panel_;
  const int selected_before = selected_;
  if (!panel_.MueveElemento(selected_, target)) return;
  updating_ = true;
  FillElements(-1);
  ShowElement();
  updating_ = false;
  PushSnapshot(std::move(before), selected_before, -1);
  FullRedraw();
}

void TForm9::OnVisibility() {
  TElementoPanel* e = Element();
  if (e == nullptr || list_.empty() || selected_ == list_.front()) return;
  TForm13 dialog(this);
  dialog.SetMask(e->visibility);
  dialog.exec();
  ApplyVisibility(dialog.Mask());
}

void TForm9::ApplyVisibility(std::uint32_t mask) {
  TElementoPanel* e = Element();
  if (e == nullptr || list_.empty() || selected_ == list_.front() || e->visibility == mask) return;
  TMHWPanel before = panel_;
  e->visibility = mask;
  updating_ = true;
  FillScreens(ScreenText());
  FillElements(selected_);  // the first entry when the element left the shown screen
  ShowElement();
  updating_ = false;
  PushSnapshot(std::move(before), static_cast<int>(&*e - panel_.elements.data()), -1);
  FullRedraw();
}

void TForm9::OnColour(int which) {
  TElementoPanel* e = Element();
  if (e == nullptr || !palette_) return;
  const int s = std::clamp(properties_->style_shown->currentIndex(), 0,
                           static_cast<int>(e->styles.size()) - 1);
  const TEstiloElemento& st = e->styles[static_cast<std::size_t>(s)];
  const int current = which == 0 ? st.text : which == 1 ? st.border : st.background;
  QPushButton* button = properties_->colours[static_cast<std::size_t>(which)];
  TForm11 popup(
      *palette_, current, [this](const QString& text) { Main().SetStatusText(text); }, this);
  const int chosen =
      popup.Elegir(button->mapToGlobal(QPoint(button->width() - 1, button->height())));
  ApplyColour(which, chosen);
}

void TForm9::ApplyColour(int which, int index) {
  TElementoPanel* e = Element();
  if (e == nullptr || index < 0 || index > 15) return;
  const int s = std::clamp(properties_->style_shown->currentIndex(), 0,
                           static_cast<int>(e->styles.size()) - 1);
  EditElement(
      -1,
      [&](TElementoPanel& el) {
        TEstiloElemento& st = el.styles[static_cast<std::size_t>(s)];
        (which == 0   ? st.text
         : which == 1 ? st.border
                      : st.background) = static_cast<std::uint8_t>(index);
      },
      Redraw::Full);
  ShowStyle();
}

void TForm9::OnKeyboard() {
  if (Element() == nullptr || !loaded_) return;
  const int font = panel_.BuscaFuente(selected_, sources_->Fonts());
  const std::string collected = VirtualKeyboard(&Main()).Mostrar(Main().Doc().Fonts(), font);
  if (collected.empty()) return;
  // Inserted at the caret; the box's change makes the edit, then the whole panel is drawn.
  properties_->text->textCursor().insertText(Raw(collected));
  EndTyping();
  FullRedraw();
}

// ---- Mouse and keys on the canvas ----

void TForm9::OnPressed(int x, int y, Qt::MouseButton button) {
  if (!loaded_ || button != Qt::LeftButton) return;
  const Grab grab = GrabAt(panel_, list_, x, y);
  if (grab.element < 0) return;
  EndTyping();
  if (grab.element != selected_) {
    updating_ = true;
    SelectElement(grab.element);
    selected_ = grab.element;
    ShowElement();
    updating_ = false;
  }
  RestoreCanvas();
  grab_ = grab;
  changed_by_mouse_ = false;
  drag_before_ = panel_;
  canvas_widget_->setCursor(
      grab.mode == DragMode::Top || grab.mode == DragMode::Bottom   ? Qt::SizeVerCursor
      : grab.mode == DragMode::Left || grab.mode == DragMode::Right ? Qt::SizeHorCursor
                                                                    : Qt::ArrowCursor);
}

void TForm9::OnMoved(int x, int y, Qt::MouseButtons buttons) {
  if (!loaded_) return;
  const Grab under = GrabAt(panel_, list_, x, y);
  canvas_widget_->setToolTip(
      under.element < 0 ? QString()
                        : Msg(kHintElement) + QLatin1Char(' ') + QString::number(under.element) +
                              QStringLiteral("  -  ") + Msg(kHintName) + QLatin1Char(' ') +
                              Raw(panel_.elements[static_cast<std::size_t>(under.element)].name));
  if (grab_.element < 0) {
    const DragMode zone = Element() ? GrabAt(panel_, {selected_}, x, y).mode : DragMode::None;
    canvas_widget_->setCursor(zone == DragMode::Top || zone == DragMode::Bottom ? Qt::SizeVerCursor
                              : zone == DragMode::Left || zone == DragMode::Right
                                  ? Qt::SizeHorCursor
                                  : Qt::ArrowCursor);
    return;
  }
  if (!(buttons & Qt::LeftButton)) return;
  if (!DragTo(panel_, list_, grab_, x, y, GridSize())) return;
  changed_by_mouse_ = true;
  // While dragging only the border follows; the elements are drawn again on button up.
  canvas_ = work_;
  border_ = std::make_unique<TBordeAnimado>(AbsoluteRect(panel_, selected_));
  PaintOverlay(false);
  canvas_widget_->Refresh();
  ShowCoordinates();
}

void TForm9::OnReleased() {
  if (grab_.element < 0) return;
  if (changed_by_mouse_ && !(panel_ == drag_before_)) {
    PushSnapshot(std::move(drag_before_), selected_, -1);
    FullRedraw();
  }
  grab_ = Grab{};
  changed_by_mouse_ = false;
  ShowElement();
  canvas_widget_->setCursor(Qt::ArrowCursor);
}

void TForm9::OnNudged(int dx, int dy, bool coarse) {
  if (!loaded_ || Element() == nullptr || grab_.element >= 0) return;
  const int step = coarse ? GridSize() : 1;
  Edit(
      -1, [&](TMHWPanel& panel) { Nudge(panel, list_, selected_, dx * step, dy * step); },
      Redraw::Full);
  ShowCoordinates();
}

// ---- Saving, notifications, language ----

void TForm9::OnOk() {
  if (loaded_ && Main().OptionChecked(MainWindowItem::OptionLimitPanels) && OverSaveLimit(panel_)) {
    Prompts::Error(this, Msg(kCannotSaveOver183) + QLatin1Char('\n') + Msg(kDeleteSomeElements));
    return;
  }
  Accept();
}

bool TForm9::GuardaDatos() {
  if (!loaded_) return true;
  const Result written = panel_.Guarda(*Node());
  if (!written.ok()) {
    Prompts::Report(this, written);
    return false;
  }
  Main().NodeWritten(Node());
  return true;
}

void TForm9::Redibuja(const QString& palette) {
  if (!loaded_ || !palette_ || palette_->Node() == nullptr ||
      palette != Raw(PaletteChangeKey(*palette_->Node())))
    return;
  LoadPalettePath(*Main().Doc().Tree(), Raw(properties_->palette->currentText()), palette_);
  if (!palette_) palette_ = TMHWPalette::Greys();
  ResetSources();
  ShowStyle();
  FullRedraw();
}

void TForm9::RedibujaFuentes() {
  if (!loaded_) return;
  ResetSources();
  FullRedraw();
}

void TForm9::RedibujaImagen(const QString& image) {
  if (!loaded_) return;
  const QString reference = image.left(image.size() - 4) + QStringLiteral(".rf4");
  for (int i : list_)
    if (Raw(panel_.elements[static_cast<std::size_t>(i)].texts[0]) == reference) {
      ResetSources();
      FullRedraw();
      return;
    }
}

void TForm9::RedibujaIcono(const QString& collection) {
  // The collection's file name up to its first "." is the name panels use.
  if (!loaded_ ||
      collection.section(QLatin1Char('.'), 0, 0) != properties_->icon_collection->currentText())
    return;
  ResetSources();
  FullRedraw();
}

void TForm9::CambiaIdioma() {
  ResourceEditor::CambiaIdioma();
  const TNodo* parent = Node()->Parent();
  const QString parent_name =
      parent ? NodeName(parent->Text, parent->Parent() == nullptr) : QString();
  setWindowTitle(Msg(kCaption) + QLatin1Char(' ') + parent_name + QLatin1Char(':') +
                 NodeName(Node()->Text));
  screen_label_->setText(Msg(kShowScreen));
  element_label_->setText(Msg(kSelectedElement));
  create_->setText(Msg(kCreateElement));
  delete_->setText(Msg(kDeleteElement));
  clone_->setText(Msg(kCloneElement));
  move_->setText(Msg(kMoveElement));
  grid_label_->setText(Msg(kGridSize));
  grid_box_->setText(Msg(kDrawGrid));
  zoom_label_->setText(Msg(kZoom));
  const bool was = updating_;
  updating_ = true;
  properties_->CambiaIdioma();
  if (properties_->key->count() > 0)
    properties_->key->setItemText(properties_->key->count() - 1, Msg(kMsgNoKey));
  ShowContent();
  updating_ = false;
  updating_ = was;
}

void RegisterPanelEditor() {
  EditorRegistry::Register(FileKind::Panel, [](TMainForm& main, TNodo& node) -> EditorChild* {
    return new TForm9(main, node);
  });
}

}  // namespace corvane::ui
