#include "pdfupdatecipher.h"

#include <QRandomGenerator>
#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFCryptoProvider.hh>
#include <qpdf/QPDFObjectHandle.hh>

bool PdfUpdateCipher::Init(QPDF& pdf)
{
    int p = 0;
    QPDF::encryption_method_e stream = QPDF::e_none, string = QPDF::e_none, file = QPDF::e_none;
    if (!pdf.isEncrypted(m_r, p, m_v, stream, string, file))
        return false;
    auto known = [](QPDF::encryption_method_e m) {
        return m == QPDF::e_none || m == QPDF::e_rc4 || m == QPDF::e_aes || m == QPDF::e_aesv3;
    };
    if (!known(stream) || !known(string))
        return false;
    m_plainStreams = stream == QPDF::e_none;
    m_plainStrings = string == QPDF::e_none;
    m_aesStreams = stream == QPDF::e_aes || stream == QPDF::e_aesv3;
    m_aesStrings = string == QPDF::e_aes || string == QPDF::e_aesv3;
    m_fileKey = pdf.getEncryptionKey();
    m_crypto = QPDFCryptoProvider::getImpl();
    return !m_fileKey.empty() && m_crypto != nullptr;
}

std::string PdfUpdateCipher::Encrypt(const std::string& data, const std::string& key,
                                     bool aes) const
{
    const auto* k = reinterpret_cast<const unsigned char*>(key.data());
    if (!aes) {
        std::string out(data.size(), '\0');
        m_crypto->RC4_init(k, int(key.size()));
        m_crypto->RC4_process(reinterpret_cast<const unsigned char*>(data.data()), data.size(),
                              reinterpret_cast<unsigned char*>(&out[0]));
        m_crypto->RC4_finalize();
        return out;
    }
    // AES-CBC: a random first block, then the data padded to whole blocks (PKCS#5).
    constexpr size_t block = 16;
    unsigned char iv[block];
    for (unsigned char& b : iv)
        b = static_cast<unsigned char>(QRandomGenerator::system()->bounded(256));
    std::string padded = data;
    padded.append(block - data.size() % block, char(block - data.size() % block));
    std::string out(reinterpret_cast<const char*>(iv), block);
    out.resize(block + padded.size());
    unsigned char chain[block];
    std::copy(iv, iv + block, chain);
    m_crypto->rijndael_init(true, k, key.size(), true, chain);
    for (size_t i = 0; i < padded.size(); i += block)
        m_crypto->rijndael_process(reinterpret_cast<unsigned char*>(&padded[i]),
                                   reinterpret_cast<unsigned char*>(&out[block + i]));
    m_crypto->rijndael_finalize();
    return out;
}

std::string PdfUpdateCipher::Unparse(QPDFObjectHandle obj, const std::string& key, bool top) const
{
    if (!top && obj.isIndirect())
        return obj.unparse(); // "N G R"
    if (obj.isString()) {
        if (m_plainStrings)
            return obj.unparse();
        return QPDFObjectHandle::newString(Encrypt(obj.getStringValue(), key, m_aesStrings))
            .unparseBinary();
    }
    if (obj.isArray()) {
        std::string out = "[ ";
        for (QPDFObjectHandle item : obj.aitems())
            out += Unparse(item, key) + ' ';
        return out + ']';
    }
    if (obj.isDictionary()) {
        std::string out = "<< ";
        for (auto& item : obj.ditems())
            out += QPDFObjectHandle::newName(item.first).unparse() + ' ' +
                   Unparse(item.second, key) + ' ';
        return out + ">>";
    }
    return obj.unparse(); // null, boolean, number, name
}

std::string PdfUpdateCipher::Body(QPDFObjectHandle obj, size_t* dictEnd) const
{
    const QPDFObjGen og = obj.getObjGen();
    const bool aes = obj.isStream() ? m_aesStreams : m_aesStrings;
    const std::string key =
        QPDF::compute_data_key(m_fileKey, og.getObj(), og.getGen(), aes, m_v, m_r);
    if (!obj.isStream()) {
        // The object itself, not a reference to it.
        std::string body = Unparse(obj, key, true);
        *dictEnd = body.size();
        return body;
    }
    std::shared_ptr<Buffer> raw = obj.getRawStreamData();
    std::string data(reinterpret_cast<const char*>(raw->getBuffer()), raw->getSize());
    if (!m_plainStreams)
        data = Encrypt(
            data,
            QPDF::compute_data_key(m_fileKey, og.getObj(), og.getGen(), m_aesStreams, m_v, m_r),
            m_aesStreams);
    QPDFObjectHandle dict = obj.getDict().shallowCopy();
    dict.replaceKey("/Length", QPDFObjectHandle::newInteger(qint64(data.size())));
    std::string body = Unparse(dict, key);
    *dictEnd = body.size();
    return body + "\nstream\n" + data + "\nendstream";
}
