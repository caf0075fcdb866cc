#pragma once
// The link targets of a copied web page: what a browser puts beside the
// plain text when part of a page is copied or dragged.
#include <string>
#include <string_view>
#include <vector>

// Past this many bytes a page is not read for its links.
inline constexpr std::size_t MaxPageBytes = std::size_t{16} << 20;

// The href of every "a" and "area" element, in document order, character
// references decoded and surrounding white space trimmed. A relative target
// is resolved against the page's <base href>, or else against pageAddress
// (the address of the page the copy came from; empty when unknown), and
// skipped when neither gives an absolute address. Only targets whose scheme
// the list knows (http, https, ftp, mms, rtsp) are kept. UTF-8 in and out.
// The markup is read from memory alone: nothing it names is ever loaded.
std::vector<std::string> LinkTargetsOfPage(std::string_view html, std::string_view pageAddress);
