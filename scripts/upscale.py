#!/usr/bin/env python3
"""upscale.py IN.png OUT.png N: scales an 8-bit RGB PNG (as anagura-replay
writes them) by N with nearest-neighbour sampling, for the README's pictures."""
import struct
import sys
import zlib


def read_png(p):
    d=open(p,'rb').read(); assert d[:8]==b'\x89PNG\r\n\x1a\n'
    i=8; idat=b''; w=h=0
    while i<len(d):
        n,=struct.unpack('>I',d[i:i+4]); t=d[i+4:i+8]; c=d[i+8:i+8+n]; i+=12+n
        if t==b'IHDR': w,h,bd,ct=struct.unpack('>IIBB',c[:10]); assert bd==8 and ct==2, (bd,ct)
        elif t==b'IDAT': idat+=c
    raw=zlib.decompress(idat); bpp=3; stride=w*3; rows=[]; prev=bytearray(stride); pos=0
    for y in range(h):
        f=raw[pos]; line=bytearray(raw[pos+1:pos+1+stride]); pos+=1+stride
        for x in range(stride):
            a=line[x-bpp] if x>=bpp else 0; b=prev[x]; c=prev[x-bpp] if x>=bpp else 0
            if f==1: line[x]=(line[x]+a)&255
            elif f==2: line[x]=(line[x]+b)&255
            elif f==3: line[x]=(line[x]+(a+b)//2)&255
            elif f==4:
                p_=a+b-c; pa=abs(p_-a); pb=abs(p_-b); pc=abs(p_-c)
                pr=a if pa<=pb and pa<=pc else (b if pb<=pc else c); line[x]=(line[x]+pr)&255
        rows.append(bytes(line)); prev=line
    return w,h,rows
def write_png(p,w,h,rows):
    def chunk(t,c): return struct.pack('>I',len(c))+t+c+struct.pack('>I',zlib.crc32(t+c)&0xffffffff)
    raw=b''.join(b'\0'+r for r in rows)
    open(p,'wb').write(b'\x89PNG\r\n\x1a\n'+chunk(b'IHDR',struct.pack('>IIBBBBB',w,h,8,2,0,0,0))+chunk(b'IDAT',zlib.compress(raw,9))+chunk(b'IEND',b''))
src,dst,k=sys.argv[1],sys.argv[2],int(sys.argv[3])
w,h,rows=read_png(src); out=[]
for r in rows:
    big=b''.join(r[3*x:3*x+3]*k for x in range(w)); out+= [big]*k
write_png(dst,w*k,h*k,out)
