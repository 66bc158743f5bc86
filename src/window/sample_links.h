// The links the two input boxes hold when the window opens: one of each service's kind,
// so that a newcomer sees what to paste where.
#pragma once

#include <string_view>

namespace quorvane {

// A Kuaichuan download link: a percent-encoded file name on a download host, with the
// query keys key, file_url, file_type, authkey, exp_time, from_uid, task_id, get_uid, f,
// reduce_cdn, fid, mid, threshold, tid, srcid and verno, in that order. 627 bytes.
inline constexpr std::string_view kSampleKuaichuanLink =
    "http://dl5.kuaichuan.xunlei.com:8000/"
    "%E6%AF%95%E4%B8%9A%E8%AE%BE%E8%AE%A1%E8%B5%84%E6%96%99%E5%90%88%E9%9B%86.rar"
    "?key=7f3a9c2e41d85b06e9a3f17c20b4d85e"
    "&file_url=%2Fstore%2F20140712%2Fc41d85b06e9a3f17%2F"
    "%E6%AF%95%E4%B8%9A%E8%AE%BE%E8%AE%A1%E8%B5%84%E6%96%99%E5%90%88%E9%9B%86.rar"
    "&file_type=0"
    "&authkey=3c9e1f74a2b85d06e71c4f9a2b3d85e60f1a7c94e2b5d803f6a9c17e4b2d5f80"
    "&exp_time=1405123262"
    "&from_uid=268431975"
    "&task_id=5998217706410672641"
    "&get_uid=417208653"
    "&f=kuaichuan.xunlei.com"
    "&reduce_cdn=1"
    "&fid=er3GuQrKwSHQkzmcaHHdCzG4ppvapcbrdyiDowbwYneqaF9CgkeD5lwQwj6pz%3D"
    "&mid=666"
    "&threshold=150"
    "&tid=2E81A07C3F5B6D94E0C17A28B3F49D51"
    "&srcid=4"
    "&verno=1";

// A Netdisk share link: the share path on the service's web host with a share id and the
// sharer's user number. 60 bytes.
inline constexpr std::string_view kSampleNetdiskLink =
    "http://pan.baidu.com/share/link?shareid=437915&uk=2084632719";

}  // namespace quorvane
