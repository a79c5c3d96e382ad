// The peer of the stamping benchmark, run as
//   mutool run mutool_stamp.js annot|embed IN.pdf PICTURE.png OUT.pdf
// It puts the picture, 40 x 30 mm, 6 mm from the right and bottom edges of every page,
// through one shared image and one form with /BBox [0 0 1 1]: as a /Stamp annotation, or
// drawn by the page content.
var mode = scriptArgs[0], input = scriptArgs[1], picture = scriptArgs[2], output = scriptArgs[3];
var k = 72 / 25.4;
var doc = new PDFDocument(input);
var img = doc.addImage(new Image(picture));

function arr(values) {
  var a = doc.newArray();
  for (var i = 0; i < values.length; ++i) a.push(values[i]);
  return a;
}

var xo = doc.newDictionary();
xo.put("Im0", img);
var res = doc.newDictionary();
res.put("XObject", xo);
var fd = doc.newDictionary();
fd.put("Type", doc.newName("XObject"));
fd.put("Subtype", doc.newName("Form"));
fd.put("BBox", arr([0, 0, 1, 1]));
fd.put("Resources", res);
var form = doc.addStream("/Im0 Do\n", fd);

var n = doc.countPages();
for (var i = 0; i < n; ++i) {
  var page = doc.findPage(i);
  var box = page.get("CropBox");
  if (!box || !box.isArray()) box = page.get("MediaBox");
  var llx = box.get(0).valueOf(), lly = box.get(1).valueOf();
  var urx = box.get(2).valueOf();
  var rect = [urx - 46 * k, lly + 6 * k, urx - 6 * k, lly + 36 * k];
  if (mode == "annot") {
    var a = doc.newDictionary();
    a.put("Type", doc.newName("Annot"));
    a.put("Subtype", doc.newName("Stamp"));
    a.put("Rect", arr(rect));
    a.put("F", 4);
    var ap = doc.newDictionary();
    ap.put("N", form);
    a.put("AP", ap);
    var annots = page.get("Annots");
    if (!annots || !annots.isArray()) {
      annots = doc.newArray();
      page.put("Annots", annots);
    }
    annots.push(doc.addObject(a));
  } else {
    // A page-local copy of the resources with the form under its own name.
    var pres = page.get("Resources");
    var nres = doc.newDictionary();
    if (pres && pres.isDictionary())
      pres.forEach(function (key, v) { nres.put(key, v); });
    var nxo = doc.newDictionary();
    var oxo = nres.get("XObject");
    if (oxo && oxo.isDictionary())
      oxo.forEach(function (key, v) { nxo.put(key, v); });
    nxo.put("StampEmb1", form);
    nres.put("XObject", nxo);
    page.put("Resources", nres);
    var contents = doc.newArray();
    contents.push(doc.addStream("q\n", doc.newDictionary()));
    var old = page.get("Contents");
    if (old.isArray()) {
      for (var c = 0; c < old.length; ++c) contents.push(old.get(c));
    } else {
      contents.push(old);
    }
    var w = rect[2] - rect[0], h = rect[3] - rect[1];
    contents.push(doc.addStream("\nQ\nq " + w + " 0 0 " + h + " " + rect[0] + " " + rect[1] +
                                " cm /StampEmb1 Do Q\n", doc.newDictionary()));
    page.put("Contents", contents);
  }
}
doc.save(output, "compress");
