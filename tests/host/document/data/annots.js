// mutool run annots.js FILE [PASSWORD]: one line per page, "N: Subtype,Subtype,..." from the raw
// /Annots arrays (links and widgets included), so tests see exactly what was written.
var doc = new PDFDocument(scriptArgs[0]);
if (scriptArgs.length > 1)
  doc.authenticatePassword(scriptArgs[1]);
var n = doc.countPages();
for (var i = 0; i < n; ++i) {
  var annots = doc.findPage(i).get("Annots");
  var s = [];
  if (annots && annots.isArray()) {
    for (var k = 0; k < annots.length; ++k)
      s.push(annots.get(k).get("Subtype").asName());
  }
  print((i + 1) + ": " + s.join(","));
}
