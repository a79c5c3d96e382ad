#pragma once
// Serialises objects for an incremental update of an encrypted file: every string and
// stream goes out encrypted with the key of the object it belongs to (RC4 or AES, as the
// file's security handler says), so the update reads back like the rest of the file.
// qpdf computes the keys; objects are walked here because qpdf's own text of an object
// holds its strings in the clear.

#include <memory>
#include <string>

class QPDF;
class QPDFObjectHandle;
class QPDFCryptoImpl;

class PdfUpdateCipher
{
public:
    // False when the file's methods are ones this cannot write (then it is written anew).
    bool Init(QPDF& pdf);
    // The object's text between "N G obj" and "endobj"; `dictEnd` gets the length of its
    // dictionary text (a stream's data follows it).
    std::string Body(QPDFObjectHandle obj, size_t* dictEnd) const;

private:
    std::string Unparse(QPDFObjectHandle obj, const std::string& key, bool top = false) const;
    std::string Encrypt(const std::string& data, const std::string& key, bool aes) const;

    std::string m_fileKey;
    int m_v = 0, m_r = 0;
    bool m_aesStrings = false, m_aesStreams = false;
    bool m_plainStrings = false, m_plainStreams = false; // identity crypt filters
    std::shared_ptr<QPDFCryptoImpl> m_crypto;
};
