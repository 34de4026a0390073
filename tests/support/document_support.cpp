#include "support/document_support.h"

#include "firmware/codec.h"

namespace corvane::test {

namespace {
std::string NameOf(const TNodo* node) { return node ? node->Text : "<top>"; }
}  // namespace

std::unique_ptr<Document> MakeDocument(int model, std::string root_name,
                                       std::uint32_t directory_capacity) {
  auto tree = std::make_unique<TArbol>();
  auto firmware = std::make_unique<TFirmware>();
  firmware->Model = static_cast<std::uint8_t>(model);
  firmware->Loaded = true;
  firmware->FileName = root_name;
  firmware->RootName = root_name;
  firmware->DirectoryCapacity = directory_capacity;
  AnadeNodo({}, root_name, *tree, nullptr);
  auto doc = std::make_unique<Document>();
  doc->Adopt(std::move(firmware), std::move(tree));
  return doc;
}

TNodo* AddDir(Document& doc, TNodo* parent, std::string_view name) {
  TNodo* node = doc.Tree()->InsertNew(parent, parent ? parent->ChildCount() : doc.Tree()->TopCount());
  node->Text = std::string(name);
  return node;
}

TNodo* AddFile(Document& doc, TNodo* parent, std::string_view name, const Bytes& bytes) {
  TNodo* node = AddDir(doc, parent, name);
  node->Data.Tamano = static_cast<std::uint32_t>(bytes.size());
  node->Data.EsDirectorio = false;
  node->Data.Datos = bytes;
  node->ImageIndex = TipoArchivo(node->Text);
  return node;
}

TNodo* AddFile(Document& doc, TNodo* parent, std::string_view name, std::string_view bytes) {
  return AddFile(doc, parent, name, Bytes(bytes.begin(), bytes.end()));
}

std::string Dump(const TArbol& tree, bool sizes) {
  std::string out;
  tree.ForEach([&out, sizes](TNodo& n) {
    out += std::string(2 * static_cast<std::size_t>(n.Level()), ' ') + n.Text;
    if (sizes && !n.IsDirectory()) out += ":" + std::to_string(n.Data.Tamano);
    out += "\n";
  });
  return out;
}

void RecordingObserver::BeginInsert(TNodo* parent, std::size_t index) {
  calls.push_back("begin-insert " + NameOf(parent) + " " + std::to_string(index));
}
void RecordingObserver::EndInsert(TNodo* node) { calls.push_back("end-insert " + NameOf(node)); }
void RecordingObserver::BeginRemove(TNodo* node) { calls.push_back("begin-remove " + NameOf(node)); }
void RecordingObserver::EndRemove(TNodo* parent, std::size_t index) {
  calls.push_back("end-remove " + NameOf(parent) + " " + std::to_string(index));
}
void RecordingObserver::BeginMove(TNodo* node, TNodo* new_parent, std::size_t index) {
  calls.push_back("begin-move " + NameOf(node) + " " + NameOf(new_parent) + " " +
                  std::to_string(index));
}
void RecordingObserver::EndMove(TNodo* node) { calls.push_back("end-move " + NameOf(node)); }
void RecordingObserver::NodeChanged(TNodo* node) { calls.push_back("changed " + NameOf(node)); }
void RecordingObserver::BeginReset() { calls.push_back("begin-reset"); }
void RecordingObserver::EndReset() { calls.push_back("end-reset"); }

}  // namespace corvane::test
